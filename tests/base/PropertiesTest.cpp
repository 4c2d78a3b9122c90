#include "base/Properties.h"

#include <gtest/gtest.h>

#include "base/Color.h"
#include "base/Notify.h"

namespace kelu {
namespace {

class Leaf : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(Leaf)
  TColor color = clNone;
  bool visible = false;
  std::string text;
  const TClassInfo* ClassInfo() const override {
    static const TClassInfo info =
        TPropsOf<Leaf>("Leaf", nullptr)
            .Ord(
                "Color", TypeColor(), clNone, [](const Leaf& l) { return l.color; },
                [](Leaf& l, std::int64_t v) { l.color = static_cast<TColor>(v); })
            .Ord(
                "Visible", TypeBoolean(), 0, [](const Leaf& l) { return l.visible; },
                [](Leaf& l, std::int64_t v) { l.visible = v != 0; })
            .Str(
                "Text", [](const Leaf& l) { return l.text; },
                [](Leaf& l, const std::string& v) { l.text = v; })
            .Build();
    return &info;
  }
};

class LeafItem : public TCollectionItem {
 public:
  using TCollectionItem::TCollectionItem;
  Leaf leaf;
  const TClassInfo* ClassInfo() const override {
    static const TClassInfo info =
        TPropsOf<LeafItem>("LeafItem", nullptr)
            .Obj("Leaf", TypeClass("Leaf"), [](LeafItem& i) { return &i.leaf; })
            .Build();
    return &info;
  }
};

class Root : public TPersistent {
 public:
  Leaf a, b;
  TOwnedCollection<LeafItem> items;
  const TClassInfo* ClassInfo() const override {
    static const TClassInfo info =
        TPropsOf<Root>("Root", nullptr)
            .Obj("A", TypeClass("Leaf"), [](Root& r) { return &r.a; })
            .Obj("B", TypeClass("Leaf"), [](Root& r) { return &r.b; })
            .Obj("Items", TypeClass("TCollection"), [](Root& r) { return &r.items; })
            .Build();
    return &info;
  }
};

TEST(EnumProperties, VisitsNestedObjectsAndCollectionItems) {
  Root root;
  root.items.Add();
  root.items.Add();
  int colors = 0, leaves = 0;
  EnumProperties(root, tkProperties, [&](TPersistent& obj, const TPropInfo& p) {
    if (p.Type == &TypeColor()) {
      ++colors;
      p.SetOrd(obj, clRed);
    }
    if (p.Kind() == TTypeKind::tkClass && dynamic_cast<Leaf*>(p.GetObj(obj))) ++leaves;
  });
  EXPECT_EQ(colors, 4);
  EXPECT_EQ(leaves, 4);
  EXPECT_EQ(root.b.color, clRed);
  EXPECT_EQ(static_cast<LeafItem*>(root.items.Items(1))->leaf.color, clRed);
}

TEST(EnumProperties, KindsFilterAndDefaults) {
  Leaf leaf;
  int strings = 0;
  EnumProperties(leaf, KindBit(TTypeKind::tkString), [&](TPersistent&, const TPropInfo& p) {
    EXPECT_EQ(p.Name, "Text");
    ++strings;
  });
  EXPECT_EQ(strings, 1);
  const TPropInfo* visible = leaf.ClassInfo()->Find("visible");
  ASSERT_NE(visible, nullptr);
  EXPECT_TRUE(visible->IsDefault(leaf));
  leaf.visible = true;
  EXPECT_FALSE(visible->IsDefault(leaf));
}

}  // namespace
}  // namespace kelu
