#include "base/Notify.h"

#include <algorithm>

#include "base/Exceptions.h"

namespace kelu {

// -------------------------------------------------------- TNotifyPersistent

void TNotifyPersistent::Changed() {
  if (updateCount_ == 0 && OnChange) OnChange(this);
}

void TNotifyPersistent::BeginUpdate() {
  ++updateCount_;
}

void TNotifyPersistent::EndUpdate() {
  --updateCount_;
  Changed();
}

void TNotifyPersistent::ChangedProc(TObject* sender) {
  if (sender != this) Changed();
}

// ---------------------------------------------------------- TCollectionItem

TCollectionItem::TCollectionItem(TCollection* collection) {
  if (collection) collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->RemoveItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  auto& items = collection_->items_;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

TPersistent* TCollectionItem::GetOwner() const {
  return collection_;
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_ && collection_->updateCount_ == 0) {
    collection_->Update(allItems ? nullptr : this);
  }
}

// -------------------------------------------------------------- TCollection

TCollection::~TCollection() {
  clearing_ = true;
  for (TCollectionItem* item : items_) {
    item->collection_ = nullptr;
    delete item;
  }
  items_.clear();
}

TCollectionItem* TCollection::Add() {
  // Watchers hear of the item only once it is fully made: they may look at
  // it at once.
  BeginUpdate();
  TCollectionItem* item = nullptr;
  try {
    item = NewItem();
  } catch (...) {
    --updateCount_;
    throw;
  }
  EndUpdate();
  return item;
}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->collection_ = nullptr;
  if (!clearing_) Changed();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  try {
    while (!items_.empty()) delete items_.back();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  delete items_[index];
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return items_[index];
}

void TCollection::BeginUpdate() {
  ++updateCount_;
}

void TCollection::EndUpdate() {
  --updateCount_;
  Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TCollection*>(&source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      for (TCollectionItem* item : src->items_) Add()->Assign(*item);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

// -------------------------------------------------------- TNotifyCollection

void TNotifyCollection::ChangedProc(TObject* sender) {
  if (sender != this) Changed();
}

void TNotifyCollection::Update(TCollectionItem* /*item*/) {
  if (OnChange) OnChange(this);
}

// -------------------------------------------------------------- TMethodList

int TMethodList::Add(const TNotifyEvent& method) {
  methods_.push_back(method);
  return static_cast<int>(methods_.size()) - 1;
}

void TMethodList::Remove(const TNotifyEvent& method) {
  for (auto it = methods_.rbegin(); it != methods_.rend(); ++it) {
    if (*it == method) {
      methods_.erase(std::next(it).base());
      return;
    }
  }
}

// --------------------------------------------------------- TNotifyEventList

void TNotifyEventList::Changed() {
  if (UpdateCount() > 0) return;
  // A handler may add or remove handlers; call the ones present now.
  std::vector<TNotifyEvent> handlers;
  handlers.reserve(list_.Count());
  for (int i = 0; i < list_.Count(); ++i) handlers.push_back(list_.Items(i));
  for (const TNotifyEvent& h : handlers) h(owner_);
}

TPersistent* TNotifyEventList::GetOwner() const {
  return owner_;
}

// --------------------------------------------------------------- TComponent

TComponent::~TComponent() {
  destroying_ = true;
  std::vector<TComponent*> watchers;
  watchers.swap(freeNotifies_);
  for (TComponent* c : watchers) {
    c->RemoveFreeNotification(this);
    c->Notification(this, opRemove);
  }
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
      other->freeNotifies_.end()) {
    other->freeNotifies_.push_back(this);
  }
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
    freeNotifies_.push_back(other);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  std::erase(freeNotifies_, other);
  std::erase(other->freeNotifies_, this);
}

// -------------------------------------------------------- TFileExtComponent

TFileExtComponent::TFileExtComponent(TComponent* owner)
    : TStoreComponent(owner),
      fileExtList_(std::make_unique<TStringList>(TStringList::SortedIgnoringDuplicates())) {}

void TFileExtComponent::SetFileExtList(const TStrings& value) {
  fileExtList_->Assign(value);
}

bool TFileExtComponent::HasExtension(std::string_view ext) const {
  int index;
  return fileExtList_->Find(ext, index);
}

}  // namespace kelu
