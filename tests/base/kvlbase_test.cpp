#include <gtest/gtest.h>

#include <type_traits>

#include "KVL_kvlbase.h"

namespace {

// One byte each, with the ordinal at the position in the list.
static_assert(sizeof(TFrameStyle) == 1 && sizeof(TMouseActMode) == 1);
static_assert(fsEngraved == 5 && vaBottom == 2 && msFinished == 3 && zsDrawWin == 1);
static_assert(maRubberBand == 4 && maZoomDrag == 8 && maRotZOnly == 14);

TEST(TRectDouble, CornersAreViewsOfTheEdges) {
  TRectDouble r{1, 2, 3, 4};
  EXPECT_EQ(static_cast<TPointDouble>(r.TopLeft()), (TPointDouble{1, 2}));
  EXPECT_EQ(static_cast<TPointDouble>(r.BottomRight()), (TPointDouble{3, 4}));
  r.TopLeft().X = 10;
  r.BottomRight() = TPointDouble{30, 40};
  EXPECT_EQ(r, (TRectDouble{10, 2, 30, 40}));
  r.Top = 20;
  EXPECT_EQ(r.TopLeft().Y, 20);
  r.TopLeft() = r.BottomRight();  // writes the values, the views stay on their own edges
  EXPECT_EQ(r, (TRectDouble{30, 40, 30, 40}));
  const TRectDouble c{5, 6, 7, 8};
  const TPointDouble corner = c.BottomRight();
  EXPECT_EQ(corner, (TPointDouble{7, 8}));
}

TEST(ErrorClasses, HierarchyAndMessages) {
  static_assert(std::is_base_of_v<std::runtime_error, EKVLError>);
  static_assert(std::is_base_of_v<EKVLError, EKVLDStructError>);
  static_assert(std::is_base_of_v<EKVLError, EKVLVectorError>);
  static_assert(std::is_base_of_v<EKVLError, EKVLMatrixError>);
  static_assert(std::is_base_of_v<EKVLError, EKVLMath2Error>);
  static_assert(std::is_base_of_v<EKVLError, EKVLGeoMapError>);
  static_assert(!std::is_base_of_v<EKVLError, EKVLSLineError>);
  static_assert(std::is_base_of_v<std::runtime_error, EKVLSLineError>);
  try {
    throw EKVLVectorError(ComponentMessage("Vec1", "index out of range"));
  } catch (const EKVLError& e) {
    EXPECT_STREQ(e.what(), "Component \"Vec1\": index out of range");
  }
}

TEST(TComponent, OwnerDeletesWhatItOwnsAndForgetsWhatIsDeletedFirst) {
  int destroyed = 0;
  struct Probe : TComponent {
    Probe(TComponent* owner, int& counter) : TComponent(owner), Counter(counter) {}
    ~Probe() override { ++Counter; }
    int& Counter;
  };
  auto* owner = new TComponent;
  auto* first = new Probe(owner, destroyed);
  new Probe(owner, destroyed);
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(first->Owner(), owner);
  delete first;
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(owner->ComponentCount(), 1);
  delete owner;
  EXPECT_EQ(destroyed, 2);
}

}  // namespace
