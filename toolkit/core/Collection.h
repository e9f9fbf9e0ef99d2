// TCollection: an ordered list of items of one class, owned by a component
// and reached through a published property (a status bar's Panels).
#pragma once

#include "toolkit/core/Object.h"

#include <functional>
#include <memory>
#include <vector>

namespace tk {

class TCollection;

class TCollectionItem : public TPersistent {
    TK_CLASS(TCollectionItem)
public:
    TCollection* collection() const { return collection_; }
    int index() const;

protected:
    void changed();

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
};

class TCollection : public TPersistent {
    TK_CLASS(TCollection)
public:
    // `makeItem` creates an item of the collection's class.
    TCollection(const ClassInfo& itemClass, std::function<std::unique_ptr<TCollectionItem>()> makeItem);

    const ClassInfo& itemClass() const { return itemClass_; }
    int count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* item(int i) const { return items_.at(i).get(); }
    TCollectionItem* add();
    void remove(int i);
    void clear();
    void assign(const TPersistent& source) override;

    // Called after any change of the list or of an item.
    std::function<void()> onChange;
    void changed()
    {
        if (onChange) onChange();
    }

private:
    const ClassInfo& itemClass_;
    std::function<std::unique_ptr<TCollectionItem>()> makeItem_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
};

}  // namespace tk
