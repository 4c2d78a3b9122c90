// Change-reporting building blocks: persistent objects and collections that
// tell one owner about changes, a list of handlers for objects that many
// editors watch, and the component base classes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/Events.h"
#include "base/Object.h"
#include "base/Strings.h"

namespace kelu {

// A settings object that reports every change through OnChange. An owner sets
// the OnChange of each of its sub-objects to its own ChangedProc, so that a
// change anywhere below reaches the owner's OnChange once.
class TNotifyPersistent : public TPersistent {
 public:
  KELU_CLASS_NAME(TNotifyPersistent)

  // Calls OnChange(this) when no update is open and the event is assigned.
  virtual void Changed();
  virtual void BeginUpdate();
  // Closes an update and reports once (even when nothing changed).
  virtual void EndUpdate();
  // Changed, unless `sender` is this object itself.
  virtual void ChangedProc(TObject* sender);

  int UpdateCount() const { return updateCount_; }

  TNotifyEvent OnChange;

 protected:
  // The setter of a notifying property: stores `value` and reports, only
  // when it differs from the stored one.
  template <class T>
  void SetField(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Changed();
  }

 private:
  int updateCount_ = 0;
};

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  KELU_CLASS_NAME(TCollectionItem)

  // The item inserts itself into `collection` (which then owns it).
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  int Index() const;
  TPersistent* GetOwner() const override;

 protected:
  // Tells the collection that this item (or, with allItems, every item)
  // changed.
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
};

class TCollection : public TPersistent {
 public:
  KELU_CLASS_NAME(TCollection)

  TCollection() = default;
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  // Creates a new item of the collection's item class and appends it.
  virtual TCollectionItem* Add();
  void Clear();
  void Delete(int index);
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // Clears and adds a copy of each item of a collection, as one change.
  void Assign(const TPersistent& source) override;

 protected:
  // Makes an item of this collection's item class (attached to this).
  virtual TCollectionItem* NewItem() = 0;
  // Called after every change once no update is open; item is the changed
  // item, or nullptr when the whole collection changed.
  virtual void Update(TCollectionItem* /*item*/) {}
  // The collection's own change operation: Update(nullptr) when no update is
  // open.
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);

  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
  bool clearing_ = false;
};

// A collection of items of class Item.
template <class Item>
class TOwnedCollection : public TCollection {
 protected:
  TCollectionItem* NewItem() override { return new Item(this); }
};

// A collection that reports every change to one owner.
class TNotifyCollection : public TCollection {
 public:
  KELU_CLASS_NAME(TNotifyCollection)

  explicit TNotifyCollection(TPersistent* owner) : owner_(owner) {}
  TPersistent* GetOwner() const override { return owner_; }
  // The collection's change operation, unless `sender` is the collection.
  virtual void ChangedProc(TObject* sender);

  TNotifyEvent OnChange;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TPersistent* owner_;
};

// A list of method pointers. Remove takes out the most recently added equal
// entry only.
class TMethodList {
 public:
  int Add(const TNotifyEvent& method);
  void Remove(const TNotifyEvent& method);
  void Clear() { methods_.clear(); }
  int Count() const { return static_cast<int>(methods_.size()); }
  const TNotifyEvent& Items(int index) const { return methods_.at(index); }

 private:
  std::vector<TNotifyEvent> methods_;
};

class TComponent;

// The change handlers of an object that many watch: Changed calls every
// handler in the order of adding, with the owner as sender.
class TNotifyEventList : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TNotifyEventList)

  explicit TNotifyEventList(TComponent* owner) : owner_(owner) {}
  void Changed() override;
  void Add(const TNotifyEvent& handler) { list_.Add(handler); }
  void Remove(const TNotifyEvent& handler) { list_.Remove(handler); }
  TPersistent* GetOwner() const override;
  int Count() const { return list_.Count(); }

 private:
  TComponent* owner_;
  TMethodList list_;
};

enum TOperation { opInsert, opRemove };

// A named object with an owner. Components that ask for it are told when a
// component they refer to is destroyed.
class TComponent : public TPersistent {
 public:
  KELU_CLASS_NAME(TComponent)

  explicit TComponent(TComponent* owner = nullptr) : owner_(owner) {}
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  TComponent* Owner() const { return owner_; }
  TPersistent* GetOwner() const override { return owner_; }

  bool Loading() const { return loading_; }
  void SetLoading(bool value) { loading_ = value; }
  bool Destroying() const { return destroying_; }

  // Asks to be told (Notification with opRemove) when `other` is destroyed.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

 protected:
  virtual void Notification(TComponent* /*component*/, TOperation /*operation*/) {}
  // Marks the component as being destroyed; derived destructors call it
  // first so that nothing reacts to the changes of the teardown.
  void MarkDestroying() { destroying_ = true; }

 private:
  std::string name_;
  TComponent* owner_;
  bool loading_ = false;
  bool destroying_ = false;
  std::vector<TComponent*> freeNotifies_;
};

class TStoreComponent : public TComponent {
 public:
  KELU_CLASS_NAME(TStoreComponent)
  using TComponent::TComponent;
};

// A component with a list of file extensions, kept sorted with duplicates
// ignored and compared without case.
class TFileExtComponent : public TStoreComponent {
 public:
  KELU_CLASS_NAME(TFileExtComponent)

  explicit TFileExtComponent(TComponent* owner = nullptr);

  TStringList& FileExtList() { return *fileExtList_; }
  const TStringList& FileExtList() const { return *fileExtList_; }
  // Copies the given list.
  void SetFileExtList(const TStrings& value);
  bool HasExtension(std::string_view ext) const;

 private:
  std::unique_ptr<TStringList> fileExtList_;
};

}  // namespace kelu
