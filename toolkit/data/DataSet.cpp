// Data sets and data sources.
#include "toolkit/data/DataSet.h"

#include "toolkit/core/PropertyTable.h"

#include <algorithm>

namespace tk {

namespace {

// Calls `each` for every entry of a list that the calls themselves may
// change: an entry added meanwhile waits for the next round, one removed
// is not called. The round's entries are held on the stack when few, as
// they are for every data set the programs have, so a notification that
// runs thousands of times in a save allocates nothing.
template <class T, class F>
void forEachStillListed(const std::vector<T*>& list, F each)
{
    constexpr size_t few = 16;
    T* held[few];
    std::vector<T*> many;
    T** round = held;
    size_t n = list.size();
    if (n <= few) std::copy(list.begin(), list.end(), held);
    else round = (many = list).data();
    for (size_t i = 0; i < n; ++i)
        if (std::find(list.begin(), list.end(), round[i]) != list.end()) each(round[i]);
}

}  // namespace

TK_DEFINE_CLASS(TDataSet, TComponent) {}

TDataSet::~TDataSet()
{
    for (TDataSource* s : sources_) s->setDataSet(nullptr);
}

void TDataSet::dataChanged()
{
    forEachStillListed(sources_, [](TDataSource* s) { s->notify(); });
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
    forEachStillListed(links_, [](DataLink* l) { l->dataChanged(); });
}

}  // namespace tk
