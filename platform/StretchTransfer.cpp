#include "StretchTransfer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "PixelRaster.h"

namespace {

constexpr int kWeightBits = 14;
constexpr uint32_t kWeightOne = 1u << kWeightBits;

// One axis of the transfer: which destination positions are written and, for each, the source
// positions it reads with their weights (summing to kWeightOne).
struct TAxisMap {
  int32_t First = 0;  // first destination index (relative to the destination rectangle)
  int32_t Count = 0;  // number of destination indices written
  std::vector<int32_t> TapStart;   // per written index: first entry in Taps/Weights
  std::vector<int32_t> Taps;       // source positions (absolute)
  std::vector<uint32_t> Weights;
  int32_t MinTap = 0, MaxTap = -1;
};

// Destination indices d in [0, DstSize) whose source centre SrcStart + (d + 0.5) * SrcSize / DstSize
// lies in [0, SourceExtent) and whose position DstStart + d lies in [0, DestExtent).
void ValidRange(int64_t DstStart, int64_t DstSize, int64_t DestExtent, int64_t SrcStart,
                int64_t SrcSize, int64_t SourceExtent, int32_t& First, int32_t& Count) {
  // (2d + 1) < 2^32 and SrcSize < 2^31, so the product fits.
  const auto sourceIndex = [&](int64_t d) { return SrcStart + (2 * d + 1) * SrcSize / (2 * DstSize); };
  int64_t lo = std::max<int64_t>(0, -DstStart);
  int64_t hi = std::min<int64_t>(DstSize, DestExtent - DstStart);  // exclusive
  // The source index grows with d: move lo up and hi down by bisection.
  auto firstAtLeast = [&](int64_t a, int64_t b, auto pred) {  // first d in [a, b) with pred, else b
    while (a < b) {
      const int64_t mid = a + (b - a) / 2;
      if (pred(mid)) b = mid; else a = mid + 1;
    }
    return a;
  };
  if (lo < hi) {
    lo = firstAtLeast(lo, hi, [&](int64_t d) { return sourceIndex(d) >= 0; });
    hi = firstAtLeast(lo, hi, [&](int64_t d) { return sourceIndex(d) >= SourceExtent; });
  }
  First = static_cast<int32_t>(lo);
  Count = static_cast<int32_t>(std::max<int64_t>(0, hi - lo));
}

void AddTaps(TAxisMap& Map, const std::vector<std::pair<int32_t, double>>& Taps) {
  Map.TapStart.push_back(static_cast<int32_t>(Map.Taps.size()));
  double total = 0;
  for (const auto& tap : Taps) total += tap.second;
  uint32_t sum = 0;
  size_t heaviest = Map.Weights.size();
  for (const auto& tap : Taps) {
    const uint32_t w = static_cast<uint32_t>(std::lround(tap.second / total * kWeightOne));
    if (heaviest == Map.Weights.size() || w > Map.Weights[heaviest]) heaviest = Map.Weights.size();
    Map.Taps.push_back(tap.first);
    Map.Weights.push_back(w);
    sum += w;
    Map.MinTap = std::min(Map.MinTap, tap.first);
    Map.MaxTap = std::max(Map.MaxTap, tap.first);
  }
  Map.Weights[heaviest] += kWeightOne - sum;  // rounding remainder; the sum is exactly one
}

TAxisMap MapAxis(int32_t DstStart, int32_t DstSize, int32_t DestExtent, int32_t SrcStart,
                 int32_t SrcSize, int32_t SourceExtent, TStretchMode Mode) {
  TAxisMap map;
  ValidRange(DstStart, DstSize, DestExtent, SrcStart, SrcSize, SourceExtent, map.First, map.Count);
  map.MinTap = SourceExtent;
  const double scale = static_cast<double>(SrcSize) / DstSize;  // source pixels per destination pixel
  std::vector<std::pair<int32_t, double>> taps;
  for (int32_t d = map.First; d < map.First + map.Count; ++d) {
    taps.clear();
    if (Mode != smHalftone) {
      const int64_t s = SrcStart + (2 * int64_t{d} + 1) * SrcSize / (2 * int64_t{DstSize});
      taps.emplace_back(static_cast<int32_t>(s), 1.0);
    } else if (scale > 1.0) {  // shrinking: area average over the covered source interval
      const double a = std::max(0.0, SrcStart + d * scale);
      const double b = std::min<double>(SourceExtent, SrcStart + (d + 1) * scale);
      for (int32_t s = static_cast<int32_t>(std::floor(a)); s < b; ++s) {
        const double overlap = std::min<double>(b, s + 1) - std::max<double>(a, s);
        if (overlap > 0) taps.emplace_back(s, overlap);
      }
    } else {  // enlarging: linear blend of the two nearest source centres, edges held
      const double c = SrcStart + (d + 0.5) * scale - 0.5;
      const double f = c - std::floor(c);
      const int32_t i0 = static_cast<int32_t>(std::floor(c));
      const auto clamp = [&](int32_t s) { return std::clamp(s, 0, SourceExtent - 1); };
      taps.emplace_back(clamp(i0), 1.0 - f);
      if (f > 0) taps.emplace_back(clamp(i0 + 1), f);
    }
    AddTaps(map, taps);
  }
  map.TapStart.push_back(static_cast<int32_t>(map.Taps.size()));
  return map;
}

struct TChannels {
  std::vector<uint32_t> R, G, B;
  void Resize(size_t N) { R.assign(N, 0); G.assign(N, 0); B.assign(N, 0); }
};

void NearestRows(QImage& Dest, TPixelRect Dst, const QImage& Source, const TAxisMap& X,
                 const TAxisMap& Y) {
  const bool sameFormat = Dest.format() == Source.format();
  const bool wide = Dest.format() == QImage::Format_RGB32;
  for (int32_t j = 0; j < Y.Count; ++j) {
    const int32_t sy = Y.Taps[j];
    uchar* out = Dest.scanLine(Dst.Top + Y.First + j);
    const uchar* in = Source.constScanLine(sy);
    for (int32_t i = 0; i < X.Count; ++i) {
      const int32_t dx = Dst.Left + X.First + i, sx = X.Taps[i];
      uint32_t native;
      if (Source.format() == QImage::Format_RGB32) {
        native = reinterpret_cast<const uint32_t*>(in)[sx];
      } else {
        native = reinterpret_cast<const uint16_t*>(in)[sx];
      }
      if (!sameFormat) {
        native = PixelRaster::NativeOf(Dest.format(), PixelRaster::ColorOf(Source.format(), native));
      }
      if (wide) {
        reinterpret_cast<uint32_t*>(out)[dx] = native;
      } else {
        reinterpret_cast<uint16_t*>(out)[dx] = static_cast<uint16_t>(native);
      }
    }
  }
}

void AveragedRows(QImage& Dest, TPixelRect Dst, const QImage& Source, const TAxisMap& X,
                  const TAxisMap& Y) {
  const int32_t x0 = X.MinTap, columns = X.MaxTap - X.MinTap + 1;
  TChannels sums;
  for (int32_t j = 0; j < Y.Count; ++j) {
    sums.Resize(static_cast<size_t>(columns));
    for (int32_t t = Y.TapStart[j]; t < Y.TapStart[j + 1]; ++t) {
      const int32_t sy = Y.Taps[t];
      const uint32_t w = Y.Weights[t];
      for (int32_t c = 0; c < columns; ++c) {
        const TColor colour = PixelRaster::ReadPixel(Source, x0 + c, sy);
        sums.R[c] += (colour & 0xFF) * w;
        sums.G[c] += ((colour >> 8) & 0xFF) * w;
        sums.B[c] += ((colour >> 16) & 0xFF) * w;
      }
    }
    const int32_t dy = Dst.Top + Y.First + j;
    for (int32_t i = 0; i < X.Count; ++i) {
      uint64_t r = 0, g = 0, b = 0;
      for (int32_t t = X.TapStart[i]; t < X.TapStart[i + 1]; ++t) {
        const int32_t c = X.Taps[t] - x0;
        const uint64_t w = X.Weights[t];
        r += sums.R[c] * w;
        g += sums.G[c] * w;
        b += sums.B[c] * w;
      }
      constexpr int shift = 2 * kWeightBits;
      constexpr uint64_t half = uint64_t{1} << (shift - 1);
      const TColor colour = static_cast<TColor>(((b + half) >> shift) << 16 |
                                                ((g + half) >> shift) << 8 | ((r + half) >> shift));
      PixelRaster::WritePixel(Dest, Dst.Left + X.First + i, dy,
                              {PixelRaster::NativeOf(Dest.format(), colour), false});
    }
  }
}

}  // namespace

void StretchTransfer(QImage& Dest, TPixelRect Dst, const QImage& Source, TPixelRect Src,
                     TStretchMode Mode) {
  if (Dst.Width < 1 || Dst.Height < 1 || Src.Width < 1 || Src.Height < 1) return;
  if (Source.isNull() || Dest.isNull()) return;
  const TAxisMap x = MapAxis(Dst.Left, Dst.Width, Dest.width(), Src.Left, Src.Width,
                             Source.width(), Mode);
  const TAxisMap y = MapAxis(Dst.Top, Dst.Height, Dest.height(), Src.Top, Src.Height,
                             Source.height(), Mode);
  if (x.Count == 0 || y.Count == 0) return;
  if (Mode == smHalftone) {
    AveragedRows(Dest, Dst, Source, x, y);
  } else {
    NearestRows(Dest, Dst, Source, x, y);
  }
}
