#include "base/Notify.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelu {
namespace {

struct Recorder {
  std::vector<std::string> calls;
  TObject* lastSender = nullptr;
  void A(TObject* s) {
    calls.push_back("A");
    lastSender = s;
  }
  void B(TObject* s) {
    calls.push_back("B");
    lastSender = s;
  }
};

TEST(TNotifyPersistent, ChangedProcIgnoresItself) {
  TNotifyPersistent p;
  Recorder r;
  p.OnChange = TNotifyEvent::Of<&Recorder::A>(&r);
  p.ChangedProc(&p);
  EXPECT_TRUE(r.calls.empty());
  TNotifyPersistent other;
  p.ChangedProc(&other);
  EXPECT_EQ(r.calls.size(), 1u);
  EXPECT_EQ(r.lastSender, &p);
}

TEST(TNotifyPersistent, EndUpdateReportsOnceEvenWithoutChange) {
  TNotifyPersistent p;
  Recorder r;
  p.OnChange = TNotifyEvent::Of<&Recorder::A>(&r);
  p.BeginUpdate();
  p.Changed();
  p.Changed();
  p.BeginUpdate();
  p.EndUpdate();
  EXPECT_TRUE(r.calls.empty());
  p.EndUpdate();
  EXPECT_EQ(r.calls.size(), 1u);
  p.BeginUpdate();
  p.EndUpdate();
  EXPECT_EQ(r.calls.size(), 2u);
}

TEST(TMethodList, RemoveTakesOutTheLaterCopyOnly) {
  Recorder r;
  TComponent owner;
  TNotifyEventList list(&owner);
  auto a = TNotifyEvent::Of<&Recorder::A>(&r);
  auto b = TNotifyEvent::Of<&Recorder::B>(&r);
  list.Add(a);
  list.Add(b);
  list.Add(a);
  list.Remove(a);
  list.Changed();
  EXPECT_EQ(r.calls, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(r.lastSender, &owner);
  list.BeginUpdate();
  list.Changed();
  EXPECT_EQ(r.calls.size(), 2u);
  list.EndUpdate();
  EXPECT_EQ(r.calls.size(), 4u);
}

class Item : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  int value = 0;
  void SetValue(int v) {
    value = v;
    Changed(false);
  }
  void Assign(const TPersistent& source) override {
    if (auto* o = dynamic_cast<const Item*>(&source)) {
      value = o->value;
      return;
    }
    TCollectionItem::Assign(source);
  }
};

class ItemList : public TNotifyCollection {
 public:
  ItemList() : TNotifyCollection(nullptr) {}

 protected:
  TCollectionItem* NewItem() override { return new Item(this); }
};

TEST(TNotifyCollection, ReportsEveryChangeAndAssignsAsOne) {
  ItemList items;
  Recorder r;
  items.OnChange = TNotifyEvent::Of<&Recorder::A>(&r);
  auto* first = static_cast<Item*>(items.Add());
  EXPECT_EQ(r.calls.size(), 1u);
  first->SetValue(5);
  EXPECT_EQ(r.calls.size(), 2u);
  items.Add();
  ItemList copy;
  Recorder rc;
  copy.OnChange = TNotifyEvent::Of<&Recorder::A>(&rc);
  copy.Assign(items);
  EXPECT_EQ(rc.calls.size(), 1u);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(static_cast<Item*>(copy.Items(0))->value, 5);
  delete copy.Items(0);
  EXPECT_EQ(copy.Count(), 1);
  EXPECT_EQ(rc.calls.size(), 2u);
}

TEST(TFileExtComponent, ExtensionsCompareWithoutCase) {
  TFileExtComponent c;
  TStringList exts;
  exts.SetText(".TXT\n.ini\n.txt");
  c.SetFileExtList(exts);
  EXPECT_EQ(c.FileExtList().Count(), 2);
  EXPECT_TRUE(c.HasExtension(".Txt"));
  EXPECT_FALSE(c.HasExtension(".log"));
}

TEST(TComponent, FreeNotificationTellsTheWatcher) {
  struct Watcher : TComponent {
    TComponent* removed = nullptr;
    void Notification(TComponent* c, TOperation op) override {
      if (op == opRemove) removed = c;
    }
  } watcher;
  auto* watched = new TComponent;
  watcher.FreeNotification(watched);
  delete watched;
  EXPECT_EQ(watcher.removed, watched);
}

}  // namespace
}  // namespace kelu
