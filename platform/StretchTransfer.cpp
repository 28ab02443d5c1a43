#include "StretchTransfer.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>

#include "PixelRaster.h"

namespace {

constexpr int kWeightBits = 14;
constexpr uint32_t kWeightOne = 1u << kWeightBits;

// One axis of the transfer: which destination positions are written and, for each, the source
// positions it reads with their weights (summing to kWeightOne).
struct TAxisMap {
  int32_t First = 0;              // first destination index (relative to the destination rectangle)
  int32_t Count = 0;              // number of destination indices written
  std::vector<int32_t> TapStart;  // per written index: first entry in Taps/Weights
  std::vector<int32_t> Taps;      // source positions (absolute)
  std::vector<uint32_t> Weights;
  int32_t MinTap = 0, MaxTap = -1;
};

// Destination indices d in [0, DstSize) whose source centre SrcStart + (d + 0.5) * SrcSize /
// DstSize lies in [0, SourceExtent) and whose position DstStart + d lies in [0, DestExtent).
void ValidRange(int64_t DstStart, int64_t DstSize, int64_t DestExtent, int64_t SrcStart,
                int64_t SrcSize, int64_t SourceExtent, int32_t& First, int32_t& Count) {
  // (2d + 1) < 2^32 and SrcSize < 2^31, so the product fits.
  const auto sourceIndex = [&](int64_t d) {
    return SrcStart + (2 * d + 1) * SrcSize / (2 * DstSize);
  };
  int64_t lo = std::max<int64_t>(0, -DstStart);
  int64_t hi = std::min<int64_t>(DstSize, DestExtent - DstStart);  // exclusive
  // The source index grows with d: move lo up and hi down by bisection.
  auto firstAtLeast = [&](int64_t a, int64_t b, auto pred) {  // first d in [a, b) with pred, else b
    while (a < b) {
      const int64_t mid = a + (b - a) / 2;
      if (pred(mid))
        b = mid;
      else
        a = mid + 1;
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
  const double scale =
      static_cast<double>(SrcSize) / DstSize;  // source pixels per destination pixel
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

template <typename TSrc, typename TDst>
void NearestRows(QImage& Dest, TPixelRect Dst, const QImage& Source, const TAxisMap& X,
                 const TAxisMap& Y) {
  for (int32_t j = 0; j < Y.Count; ++j) {
    const auto* in = reinterpret_cast<const TSrc*>(Source.constScanLine(Y.Taps[j]));
    auto* out = reinterpret_cast<TDst*>(Dest.scanLine(Dst.Top + Y.First + j)) + Dst.Left + X.First;
    const int32_t* taps = X.Taps.data();
    for (int32_t i = 0; i < X.Count; ++i) {
      const TSrc p = in[taps[i]];
      if constexpr (std::is_same_v<TSrc, TDst>) {
        out[i] = p;
      } else {
        out[i] = PixelRaster::TFormat<TDst>::Pack(PixelRaster::TFormat<TSrc>::Red(p),
                                                  PixelRaster::TFormat<TSrc>::Green(p),
                                                  PixelRaster::TFormat<TSrc>::Blue(p));
      }
    }
  }
}

template <typename TSrc, typename TDst>
void AveragedRows(QImage& Dest, TPixelRect Dst, const QImage& Source, const TAxisMap& X,
                  const TAxisMap& Y) {
  const int32_t x0 = X.MinTap, columns = X.MaxTap - X.MinTap + 1;
  std::vector<uint32_t> red(static_cast<size_t>(columns)), green(red.size()), blue(red.size());
  for (int32_t j = 0; j < Y.Count; ++j) {
    std::fill(red.begin(), red.end(), 0);
    std::fill(green.begin(), green.end(), 0);
    std::fill(blue.begin(), blue.end(), 0);
    for (int32_t t = Y.TapStart[j]; t < Y.TapStart[j + 1]; ++t) {
      const auto* in = reinterpret_cast<const TSrc*>(Source.constScanLine(Y.Taps[t])) + x0;
      const uint32_t w = Y.Weights[t];
      for (int32_t c = 0; c < columns; ++c) {
        red[c] += PixelRaster::TFormat<TSrc>::Red(in[c]) * w;
        green[c] += PixelRaster::TFormat<TSrc>::Green(in[c]) * w;
        blue[c] += PixelRaster::TFormat<TSrc>::Blue(in[c]) * w;
      }
    }
    auto* out = reinterpret_cast<TDst*>(Dest.scanLine(Dst.Top + Y.First + j)) + Dst.Left + X.First;
    for (int32_t i = 0; i < X.Count; ++i) {
      uint64_t r = 0, g = 0, b = 0;
      for (int32_t t = X.TapStart[i]; t < X.TapStart[i + 1]; ++t) {
        const int32_t c = X.Taps[t] - x0;
        const uint64_t w = X.Weights[t];
        r += red[c] * w;
        g += green[c] * w;
        b += blue[c] * w;
      }
      constexpr int shift = 2 * kWeightBits;
      constexpr uint64_t half = uint64_t{1} << (shift - 1);
      out[i] = PixelRaster::TFormat<TDst>::Pack(static_cast<uint32_t>((r + half) >> shift),
                                                static_cast<uint32_t>((g + half) >> shift),
                                                static_cast<uint32_t>((b + half) >> shift));
    }
  }
}

template <typename TSrc, typename TDst>
void Transfer(QImage& Dest, TPixelRect Dst, const QImage& Source, const TAxisMap& X,
              const TAxisMap& Y, TStretchMode Mode) {
  if (Mode == smHalftone) {
    AveragedRows<TSrc, TDst>(Dest, Dst, Source, X, Y);
  } else {
    NearestRows<TSrc, TDst>(Dest, Dst, Source, X, Y);
  }
}

template <typename TSrc>
void TransferTo(QImage& Dest, TPixelRect Dst, const QImage& Source, const TAxisMap& X,
                const TAxisMap& Y, TStretchMode Mode) {
  if (Dest.format() == QImage::Format_RGB555) {
    Transfer<TSrc, uint16_t>(Dest, Dst, Source, X, Y, Mode);
  } else {
    Transfer<TSrc, uint32_t>(Dest, Dst, Source, X, Y, Mode);
  }
}

}  // namespace

void StretchTransfer(QImage& Dest, TPixelRect Dst, const QImage& Source, TPixelRect Src,
                     TStretchMode Mode) {
  if (Dst.Width < 1 || Dst.Height < 1 || Src.Width < 1 || Src.Height < 1) return;
  if (Source.isNull() || Dest.isNull()) return;
  const TAxisMap x =
      MapAxis(Dst.Left, Dst.Width, Dest.width(), Src.Left, Src.Width, Source.width(), Mode);
  const TAxisMap y =
      MapAxis(Dst.Top, Dst.Height, Dest.height(), Src.Top, Src.Height, Source.height(), Mode);
  if (x.Count == 0 || y.Count == 0) return;
  if (Source.format() == QImage::Format_RGB555) {
    TransferTo<uint16_t>(Dest, Dst, Source, x, y, Mode);
  } else {
    TransferTo<uint32_t>(Dest, Dst, Source, x, y, Mode);
  }
}
