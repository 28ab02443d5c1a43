// The drawing layer against plain QPainter on the same images: long lines on the 15-bit work
// bitmaps and in XOR mode, repeated text, and the scaled transfer in both modes.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>

#include "TBitmap.h"

namespace {

constexpr int kLineSpan = 700;  // pixels along the longer axis

QImage::Format StorageOf(TPixelFormat Format) {
  return Format == pf15bit ? QImage::Format_RGB555 : QImage::Format_RGB32;
}

// Arguments: pixel format, XOR (0/1).
void BM_CanvasLongLine(benchmark::State& State) {
  TBitmap bitmap(800, 800, static_cast<TPixelFormat>(State.range(0)));
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetPenMode(State.range(1) ? pmXor : pmCopy);
  int32_t i = 0;
  for (auto _ : State) {
    canvas.MoveTo(20, 20 + i % 50);
    canvas.LineTo(20 + kLineSpan, 20 + i % 50 + kLineSpan / 3);
    ++i;
  }
  State.SetItemsProcessed(State.iterations() * kLineSpan);
}

void BM_QPainterLongLine(benchmark::State& State) {
  QImage image(800, 800, StorageOf(static_cast<TPixelFormat>(State.range(0))));
  image.fill(Qt::white);
  QPainter painter(&image);
  QPen pen(Qt::black);
  pen.setCosmetic(true);
  pen.setWidth(0);
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  if (State.range(1)) painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  int32_t i = 0;
  for (auto _ : State) {
    painter.drawLine(20, 20 + i % 50, 20 + kLineSpan, 20 + i % 50 + kLineSpan / 3);
    ++i;
  }
  State.SetItemsProcessed(State.iterations() * kLineSpan);
}

// Arguments: pixel format. A caption drawn again, as every render does.
void BM_CanvasTextCached(benchmark::State& State) {
  TBitmap bitmap(400, 100, static_cast<TPixelFormat>(State.range(0)));
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetFontSize(10);
  canvas.SetBrushStyle(bsClear);
  for (auto _ : State) canvas.TextOut(10, 10, "Landmark caption 47");
}

void BM_QPainterText(benchmark::State& State) {
  QImage image(400, 100, StorageOf(static_cast<TPixelFormat>(State.range(0))));
  image.fill(Qt::white);
  QPainter painter(&image);
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(13);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QString text = QStringLiteral("Landmark caption 47");
  for (auto _ : State) painter.drawText(QPoint(10, 23), text);
}

// Arguments: stretch mode, source width, source height, destination width, destination height.
// The source is a device-format map image, the destination a 15-bit work bitmap.
void BM_CanvasStretch(benchmark::State& State) {
  TBitmap source(static_cast<int32_t>(State.range(1)), static_cast<int32_t>(State.range(2)));
  for (int32_t y = 0; y < source.Height(); y += 7) {
    source.Canvas().SetPenColor(static_cast<TColor>(y * 0x10305));
    source.Canvas().MoveTo(0, y);
    source.Canvas().LineTo(source.Width(), y + 40);
  }
  TBitmap dest(static_cast<int32_t>(State.range(3)), static_cast<int32_t>(State.range(4)), pf15bit);
  const auto mode = static_cast<TStretchMode>(State.range(0));
  for (auto _ : State) {
    dest.Canvas().StretchRect(0, 0, dest.Width(), dest.Height(), source.Canvas(), 0, 0,
                              source.Width(), source.Height(), mode);
  }
  State.SetItemsProcessed(State.iterations() * dest.Width() * dest.Height());
}

void BM_QImageScaled(benchmark::State& State) {
  QImage source(static_cast<int>(State.range(1)), static_cast<int>(State.range(2)),
                QImage::Format_RGB32);
  source.fill(Qt::darkGreen);
  const auto transform =
      State.range(0) == smHalftone ? Qt::SmoothTransformation : Qt::FastTransformation;
  for (auto _ : State) {
    QImage scaled = source
                        .scaled(static_cast<int>(State.range(3)), static_cast<int>(State.range(4)),
                                Qt::IgnoreAspectRatio, transform)
                        .convertToFormat(QImage::Format_RGB555);
    benchmark::DoNotOptimize(scaled.constBits());
  }
  State.SetItemsProcessed(State.iterations() * State.range(3) * State.range(4));
}

// Paint's copy of the 15-bit work bitmap into the device-format front buffer.
void BM_CanvasCopyToFront(benchmark::State& State) {
  TBitmap aux(1000, 750, pf15bit), front(1000, 750, pfDevice);
  for (auto _ : State) front.Canvas().CopyRect(0, 0, 1000, 750, aux.Canvas(), 0, 0);
  State.SetItemsProcessed(State.iterations() * 1000 * 750);
}

void LineArguments(benchmark::internal::Benchmark* B) {
  B->ArgNames({"format", "xor"});
  B->Args({pf15bit, 0})->Args({pf15bit, 1})->Args({pf32bit, 0})->Args({pf32bit, 1});
}

void StretchArguments(benchmark::internal::Benchmark* B) {
  B->ArgNames({"mode", "sw", "sh", "dw", "dh"});
  for (int mode : {smColorOnColor, smHalftone}) {
    B->Args({mode, 2000, 1500, 1000, 750});  // the zoomed-out cache of a full-size map
    B->Args({mode, 400, 300, 1000, 750});    // a zoomed-in window
  }
  B->Unit(benchmark::kMillisecond)->UseRealTime();  // Qt scales on worker threads
}

BENCHMARK(BM_CanvasLongLine)->Apply(LineArguments);
BENCHMARK(BM_QPainterLongLine)->Apply(LineArguments);
BENCHMARK(BM_CanvasTextCached)->ArgName("format")->Arg(pf15bit)->Arg(pf32bit);
BENCHMARK(BM_QPainterText)->ArgName("format")->Arg(pf15bit)->Arg(pf32bit);
BENCHMARK(BM_CanvasCopyToFront)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CanvasStretch)->Apply(StretchArguments);
BENCHMARK(BM_QImageScaled)->Apply(StretchArguments);

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);  // fonts
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
