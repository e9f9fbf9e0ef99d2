// Collections of items.
#include "toolkit/core/Collection.h"

#include "toolkit/core/PropertyTable.h"

namespace tk {

TK_DEFINE_CLASS(TCollectionItem, TPersistent) {}
TK_DEFINE_CLASS(TCollection, TPersistent) {}

int TCollectionItem::index() const
{
    if (!collection_) return -1;
    for (int i = 0; i < collection_->count(); ++i)
        if (collection_->item(i) == this) return i;
    return -1;
}

void TCollectionItem::changed()
{
    if (collection_) collection_->changed();
}

TCollection::TCollection(const ClassInfo& itemClass, std::function<std::unique_ptr<TCollectionItem>()> makeItem)
    : itemClass_(itemClass), makeItem_(std::move(makeItem))
{
}

TCollectionItem* TCollection::add()
{
    items_.push_back(makeItem_());
    items_.back()->collection_ = this;
    changed();
    return items_.back().get();
}

void TCollection::remove(int i)
{
    if (i < 0 || i >= count()) return;
    items_.erase(items_.begin() + i);
    changed();
}

void TCollection::clear()
{
    items_.clear();
    changed();
}

void TCollection::assign(const TPersistent& source)
{
    const TCollection* other = as<TCollection>(&source);
    if (!other) return TPersistent::assign(source);
    if (other == this) return;
    items_.clear();
    for (int i = 0; i < other->count(); ++i) add()->assign(*other->item(i));
    changed();
}

}  // namespace tk
