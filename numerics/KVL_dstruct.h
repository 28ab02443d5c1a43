// The bit field: a resizable array of boolean flags packed eight to a byte, with counting,
// searching, listing, inverting, random filling and byte-wise logic between two fields.
#pragma once

#include <cstdint>
#include <vector>

#include "KVL_kvlbase.h"

// Byte-wise operations of CombineWith: this field's byte a with the other field's byte s.
enum TLogicOp : uint8_t {
  loAND,     // a and s
  loOR,      // a or s
  loXOR,     // a xor s
  loANDNot,  // a and not s
  loORNot,   // a or not s
  loXORNot   // a xor not s
};

// Holds Size + 1 bits, numbered 0 to Size inclusive; bit i is bit i mod 8 of byte i div 8.
// Out-of-range indices are ignored (writes) or read as false.
class TBitFld : public TComponent {
 public:
  // Size 1000, every bit false. Raises EKVLDStructError when the bits cannot be allocated.
  explicit TBitFld(TComponent* AOwner = nullptr);

  // The highest valid bit index, at least 1.
  int32_t Size() const { return FSize; }
  // Values of 0 or less, or equal to the current size, are ignored. Bits up to the smaller of the
  // old and new size keep their values; bits added by growing are false. Raises
  // EKVLDStructError for a size above kMaxSize or when the bits cannot be allocated, and then
  // leaves the field unchanged.
  void SetSize(int32_t Value);
  // The largest size whose Size + 1 bits can still be counted in 32 bits.
  static constexpr int32_t kMaxSize = INT32_MAX - 1;

  bool BitValue(int32_t ix) const;
  void SetBitValue(int32_t ix, bool Value);
  void ToggleBit(int32_t ix);

  // Every bit false.
  void Clear();
  // Takes the size and the bits of Source; nothing when Source is null or this field.
  void Clone(const TBitFld* Source);
  // Complements every bit.
  void Invert();

  int32_t CountTrueBits() const;
  // Lowest index whose bit is true; -1 when none is.
  int32_t FirstTrueBit() const;
  // Replaces BitList by the ascending indices whose bit equals State.
  void MakeListOfBits(TIntArray& BitList, bool State) const;

  // Combines this field byte by byte with a field of the same size; nothing when the sizes
  // differ or Operation is not one of TLogicOp. SecondBArray may be this field.
  void CombineWith(const TBitFld& SecondBArray, TLogicOp Operation);

  // Sets Percent (clamped to 0..100) of the Size + 1 bits, chosen at random, and clears the rest.
  void RandomFill(double Percent);
  // Sets exactly NBits (clamped to 0..Size + 1) bits chosen at random and clears the rest.
  void RandomFill(int32_t NBits);

 private:
  void RandomFillCore(int64_t NTrue);
  // Mask of the bits of the last byte that belong to the field.
  uint8_t LastByteMask() const;
  bool ValidIndex(int32_t ix) const { return ix >= 0 && ix <= FSize; }

  int32_t FSize = 0;
  std::vector<uint8_t> FBitArray;  // exactly the bytes that hold bits 0 .. FSize
};
