#include "KVL_dstruct.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <new>

#include "KVL_random.h"

namespace {

constexpr int32_t kInitialSize = 1000;
constexpr int kBitsPerByte = 8;

size_t ByteIndex(int64_t ix) { return static_cast<size_t>(ix / kBitsPerByte); }
uint8_t BitMask(int64_t ix) { return static_cast<uint8_t>(1u << (ix % kBitsPerByte)); }
size_t ByteCount(int32_t size) { return ByteIndex(size) + 1; }

}  // namespace

TBitFld::TBitFld(TComponent* AOwner) : TComponent(AOwner), FSize(kInitialSize) {
  try {
    FBitArray.resize(ByteCount(FSize));
  } catch (const std::bad_alloc&) {
    throw EKVLDStructError(ComponentMessage(Name(), "not enough memory on heap"));
  }
}

void TBitFld::SetSize(int32_t Value) {
  if (Value <= 0 || Value == FSize) return;
  if (Value > kMaxSize) throw EKVLDStructError(ComponentMessage(Name(), "size too large"));
  try {
    FBitArray.resize(ByteCount(Value));  // leaves the field as it was when it throws
  } catch (const std::bad_alloc&) {
    throw EKVLDStructError(ComponentMessage(Name(), "not enough memory on heap"));
  }
  // The old last byte may hold set spare bits (Invert, random fill, negated logic); they
  // become part of the field now and must start false like the added bytes.
  if (Value > FSize) FBitArray[ByteIndex(FSize)] &= LastByteMask();
  FSize = Value;
}

bool TBitFld::BitValue(int32_t ix) const {
  return ValidIndex(ix) && (FBitArray[ByteIndex(ix)] & BitMask(ix)) != 0;
}

void TBitFld::SetBitValue(int32_t ix, bool Value) {
  if (!ValidIndex(ix)) return;
  if (Value)
    FBitArray[ByteIndex(ix)] |= BitMask(ix);
  else
    FBitArray[ByteIndex(ix)] &= static_cast<uint8_t>(~BitMask(ix));
}

void TBitFld::ToggleBit(int32_t ix) {
  if (ValidIndex(ix)) FBitArray[ByteIndex(ix)] ^= BitMask(ix);
}

void TBitFld::Clear() { std::fill(FBitArray.begin(), FBitArray.end(), uint8_t{0}); }

void TBitFld::Clone(const TBitFld* Source) {
  if (Source == nullptr || Source == this) return;
  SetSize(Source->FSize);
  std::copy(Source->FBitArray.begin(), Source->FBitArray.end(), FBitArray.begin());
}

void TBitFld::Invert() {
  for (uint8_t& byte : FBitArray) byte = static_cast<uint8_t>(~byte);
}

uint8_t TBitFld::LastByteMask() const {
  return static_cast<uint8_t>(BitMask(FSize) * 2 - 1);
}

int32_t TBitFld::CountTrueBits() const {
  const size_t last = FBitArray.size() - 1;
  int64_t count = 0;
  for (size_t b = 0; b < last; ++b) count += std::popcount(FBitArray[b]);
  count += std::popcount(static_cast<uint8_t>(FBitArray[last] & LastByteMask()));
  return static_cast<int32_t>(count);  // at most kMaxSize + 1 bits
}

int32_t TBitFld::FirstTrueBit() const {
  const size_t last = FBitArray.size() - 1;
  for (size_t b = 0; b <= last; ++b) {
    const auto byte = static_cast<uint8_t>(b < last ? FBitArray[b] : FBitArray[b] & LastByteMask());
    if (byte != 0) return static_cast<int32_t>(b * kBitsPerByte + std::countr_zero(byte));
  }
  return -1;
}

void TBitFld::MakeListOfBits(TIntArray& BitList, bool State) const {
  const int64_t trueBits = CountTrueBits();
  TIntArray list;
  try {
    list.reserve(static_cast<size_t>(State ? trueBits : int64_t{FSize} + 1 - trueBits));
  } catch (const std::bad_alloc&) {
    throw EKVLDStructError(ComponentMessage(Name(), "not enough memory on heap"));
  }
  const size_t last = FBitArray.size() - 1;
  for (size_t b = 0; b <= last; ++b) {
    uint8_t wanted = State ? FBitArray[b] : static_cast<uint8_t>(~FBitArray[b]);
    if (b == last) wanted &= LastByteMask();
    for (; wanted != 0; wanted &= static_cast<uint8_t>(wanted - 1))
      list.push_back(static_cast<int32_t>(b * kBitsPerByte + std::countr_zero(wanted)));
  }
  BitList.swap(list);
}

void TBitFld::CombineWith(const TBitFld& SecondBArray, TLogicOp Operation) {
  if (SecondBArray.FSize != FSize || Operation > loXORNot) return;
  for (size_t b = 0; b < FBitArray.size(); ++b) {
    const uint8_t a = FBitArray[b];
    const uint8_t s = SecondBArray.FBitArray[b];
    const auto notS = static_cast<uint8_t>(~s);
    switch (Operation) {
      case loAND: FBitArray[b] = a & s; break;
      case loOR: FBitArray[b] = a | s; break;
      case loXOR: FBitArray[b] = a ^ s; break;
      case loANDNot: FBitArray[b] = a & notS; break;
      case loORNot: FBitArray[b] = a | notS; break;
      case loXORNot: FBitArray[b] = a ^ notS; break;
    }
  }
}

void TBitFld::RandomFill(double Percent) {
  if (!(Percent > 0.0)) Percent = 0.0;  // also catches NaN
  if (Percent > 100.0) Percent = 100.0;
  RandomFillCore(static_cast<int64_t>(std::nearbyint(Percent * 0.01 * (int64_t{FSize} + 1))));
}

void TBitFld::RandomFill(int32_t NBits) {
  RandomFillCore(std::clamp<int64_t>(NBits, 0, int64_t{FSize} + 1));
}

void TBitFld::RandomFillCore(int64_t NTrue) {
  // Draws r·Size rounded, so both end indices come up half as often as the others. Whichever
  // of true and false is the minority is placed by drawing, so at most half the bits are drawn.
  const auto draw = [this] {
    return static_cast<int32_t>(std::nearbyint(RandomUniform() * FSize));
  };
  const bool fillTrue = NTrue > FSize / 2;
  std::fill(FBitArray.begin(), FBitArray.end(), fillTrue ? uint8_t{0xFF} : uint8_t{0});
  int64_t toPlace = fillTrue ? int64_t{FSize} + 1 - NTrue : NTrue;
  while (toPlace > 0) {
    const int32_t k = draw();
    if (BitValue(k) == fillTrue) {
      SetBitValue(k, !fillTrue);
      --toPlace;
    }
  }
}
