// A redraw of a docked generated model through the program's Qt canvas, at the size of a large
// view, with and without ids; and the same redraw into a canvas that paints nothing, which
// separates the model's own cost (positions, projection) from Qt's rasteriser.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <string>
#include <utility>

#include "render/QtCanvas.h"
#include "bench/ModelGenerator.h"
#include "core/util/LineList.h"
#include "core/workflow/Workflow.h"
#include "core/document/DocumentView.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;

/// Counts calls instead of painting.
class NullCanvas : public mk::Canvas {
 public:
  void SetPenColor(mk::Rgb) override {}
  void MoveTo(int x, int y) override { pen_ = {x, y}; }
  void LineTo(int x, int y) override {
    pen_ = {x, y};
    ++lines;
  }
  void TextOut(int, int, std::string_view, mk::Rgb, int) override {}
  void FillRect(int, int, int, int, mk::Rgb) override {}
  mk::PixelPoint PenPos() const override { return pen_; }
  long long lines = 0;

 private:
  mk::PixelPoint pen_;
};

std::unique_ptr<mk::Document> DockedModel(long long points, mk::FileKind kind) {
  const mk::LineList lines = mk::LineList::FromText(mk::bench::GenerateModelText(points, kind, 7));
  auto document = mk::CreateDocument(kind, nullptr, nullptr);
  document->LoadFromLines(lines, 0);
  document->Dock(0.4);
  return document;
}

void Redraw(benchmark::State& state, mk::FileKind kind, bool ids, bool paint) {
  const auto document = DockedModel(state.range(0), kind);
  const mk::PointIds shown = ids ? mk::PointIds::Shown : mk::PointIds::Hidden;
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    mk::ProjectionView view;
    if (paint) {
      mk::QtCanvas canvas(&image);
      view.SetCanvas(&canvas, kWidth, kHeight);
      mk::RedrawView(view, 0, mk::RangeForDirection(*document, 0), *document, shown);
      canvas.End();
    } else {
      NullCanvas canvas;
      view.SetCanvas(&canvas, kWidth, kHeight);
      mk::RedrawView(view, 0, mk::RangeForDirection(*document, 0), *document, shown);
      benchmark::DoNotOptimize(canvas.lines);
    }
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

/// What the program does between the open dialog and the first picture: split the file into
/// lines, parse the working and the reference document, dock the working one, and paint both
/// views (the docked model on one, the model as read on the other) at the range of the docked one.
void OpenDockFirstPaint(benchmark::State& state, mk::FileKind kind) {
  const std::string text = mk::bench::GenerateModelText(state.range(0), kind, 7);
  QImage left(kWidth, kHeight, QImage::Format_RGB32);
  QImage right(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    auto working = mk::CreateDocument(kind, nullptr, nullptr);
    auto reference = mk::CreateDocument(kind, nullptr, nullptr);
    {
      const mk::LineList lines = mk::LineList::FromText(text);
      working->LoadFromLines(lines, 0);
      reference->LoadFromLines(lines, 0);
    }
    working->Dock(0.4);
    const mk::ViewRange range = mk::RangeForDirection(*working, 0);
    for (auto [image, drawn] : {std::pair{&left, reference.get()}, std::pair{&right, working.get()}}) {
      mk::QtCanvas canvas(image);
      mk::ProjectionView view;
      view.SetCanvas(&canvas, kWidth, kHeight);
      mk::RedrawView(view, 0, range, *drawn, mk::PointIds::Hidden);
      canvas.End();
    }
    benchmark::DoNotOptimize(right.constBits());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_OpenDockFirstPaintMdl(benchmark::State& s) { OpenDockFirstPaint(s, mk::FileKind::Model); }
void BM_OpenDockFirstPaintSeg(benchmark::State& s) { OpenDockFirstPaint(s, mk::FileKind::Segment); }

void BM_RedrawMdl(benchmark::State& s) { Redraw(s, mk::FileKind::Model, false, true); }
void BM_RedrawMdlIds(benchmark::State& s) { Redraw(s, mk::FileKind::Model, true, true); }
void BM_RedrawMdlNoPaint(benchmark::State& s) { Redraw(s, mk::FileKind::Model, false, false); }
void BM_RedrawSeg(benchmark::State& s) { Redraw(s, mk::FileKind::Segment, false, true); }

}  // namespace

BENCHMARK(BM_RedrawMdl)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawMdlIds)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawMdlNoPaint)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawSeg)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDockFirstPaintMdl)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDockFirstPaintSeg)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // Text and painting need a GUI application; the offscreen platform needs no display.
  static char platform_option[] = "-platform";
  static char platform[] = "offscreen";
  int qt_argc = 3;
  char* qt_argv[] = {argv[0], platform_option, platform, nullptr};
  QGuiApplication application(qt_argc, qt_argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
