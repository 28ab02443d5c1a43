// Frequency count of vector elements in equal bins.
#include <cmath>

#include "KVL_vector.h"

namespace {

// Most bins a histogram may span between FirstBin and LastBin, not counting the last bin.
constexpr double kMaxBinSpan = 500;

}  // namespace

// Bin k (1-based) counts the values in [FirstBin + (k - 1) BinWidth, FirstBin + k BinWidth).
// There are NB + 1 of them, NB = |LastBin - FirstBin| / BinWidth rounded, so that the last bin
// starts at LastBin; values beyond it are overflow. Every element is thereby counted exactly
// once: in a bin, as underflow or as overflow (NaN counts as overflow).
bool TVector::Histogram(int32_t FirstElem, int32_t LastElem, double FirstBin, double LastBin,
                        double BinWidth, TIntVector& Histo, int32_t& Underflow,
                        int32_t& Overflow, int32_t& MaxCnt) const {
  if (!(BinWidth > 0)) return false;
  const double span = std::nearbyint(std::fabs(LastBin - FirstBin) / BinWidth);
  if (!(span <= kMaxBinSpan)) return false;  // also refuses NaN and infinite bounds
  const auto binCount = static_cast<int32_t>(span) + 1;

  if (Histo.NrOfElem() != binCount) Histo.Resize(binCount);
  Histo.Clear();
  Underflow = 0;
  Overflow = 0;
  MaxCnt = 0;
  // 64 bits, so that LastElem = INT32_MAX ends the loop.
  for (int64_t i = FirstElem; i <= LastElem; ++i) {
    const double v = Element(static_cast<int32_t>(i));
    if (v < FirstBin) {
      Underflow = ArithAdd(Underflow, 1);
      continue;
    }
    const double position = (v - FirstBin) / BinWidth;
    if (!(position < binCount)) {
      Overflow = ArithAdd(Overflow, 1);
      continue;
    }
    const int32_t bin = static_cast<int32_t>(position) + 1;
    const int32_t count = ArithAdd(Histo.Element(bin), 1);
    Histo.SetElement(bin, count);
    if (count > MaxCnt) MaxCnt = count;
  }
  return true;
}
