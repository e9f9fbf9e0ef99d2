// Data sets and data sources.
#include "toolkit/data/DataSet.h"

#include "toolkit/core/PropertyTable.h"

#include <algorithm>

namespace tk {

TK_DEFINE_CLASS(TDataSet, TComponent) {}

TDataSet::~TDataSet()
{
    for (TDataSource* s : sources_) s->setDataSet(nullptr);
}

void TDataSet::dataChanged()
{
    auto sources = sources_;
    for (TDataSource* s : sources) s->notify();
}

TK_DEFINE_CLASS(TDataSource, TComponent)
{
    t.component<TDataSet>("DataSet", &TDataSource::dataSet, &TDataSource::setDataSet);
    t.boolean("Enabled", &TDataSource::enabled, &TDataSource::setEnabled, true);
}

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource()
{
    setDataSet(nullptr);
}

void TDataSource::setDataSet(TDataSet* ds)
{
    if (TDataSet* old = dataSet_.get()) {
        auto& list = old->sources_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    dataSet_ = ds;
    if (ds) ds->sources_.push_back(this);
    notify();
}

void TDataSource::setEnabled(bool v)
{
    enabled_ = v;
    notify();
}

void TDataSource::addLink(DataLink* l)
{
    if (std::find(links_.begin(), links_.end(), l) == links_.end()) links_.push_back(l);
}

void TDataSource::removeLink(DataLink* l)
{
    links_.erase(std::remove(links_.begin(), links_.end(), l), links_.end());
}

void TDataSource::notify()
{
    auto links = links_;
    for (DataLink* l : links) l->dataChanged();
}

}  // namespace tk
