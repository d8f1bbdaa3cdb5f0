// The QPainter canvas and the PNG backend: pixels where the view arithmetic puts them, and a
// large redraw in good time.

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <string>
#include <vector>

#include "render/QtCanvas.h"
#include "render/RenderImage.h"
#include "core/document/Document.h"
#include "core/util/Errors.h"
#include "core/document/DocumentView.h"

namespace {

/// Bounds as given; draws one line from the origin to (10, 10, 10) and, with ids on, a label.
class LineDocument : public mk::Document {
 public:
  explicit LineDocument(std::array<long double, 6> bounds) : bounds_(bounds) {}
  std::size_t LoadFromLines(const mk::LineList&, std::size_t index) override { return index; }
  void SaveToLines(mk::LineWriter&) const override {}
  mk::DockStatistics Dock(double, mk::DockReport*) override { return {}; }
  long double GetBound(int index) const override {
    return index >= 0 && index < 6 ? bounds_[static_cast<std::size_t>(index)] : 100;
  }
  void Draw(mk::View3D& view, mk::PointIds ids) const override {
    view.MoveTo3D(0, 0, 0);
    view.LineTo3D(10, 10, 10);
    if (ids == mk::PointIds::Shown) view.TextOut3D("77", -5, -5, -5);
  }
  void VisitPoints(mk::PointVisitor&) const override {}

 private:
  std::array<long double, 6> bounds_;
};

/// Thousands of points on a small picture, each with a label, joined by lines: most labels end
/// up under later ones.
class CrowdedDocument : public LineDocument {
 public:
  CrowdedDocument() : LineDocument({-50, -50, -50, 50, 50, 50}) {}
  void Draw(mk::View3D& view, mk::PointIds ids) const override {
    unsigned state = 12345;
    auto next = [&state] {
      state = state * 1103515245u + 12345u;
      return static_cast<long double>((state >> 8) % 10000) / 100 - 50;
    };
    for (int i = 0; i < 4000; ++i) {
      const long double x = next(), y = next(), z = next();
      if (i % 7 == 0)
        view.MoveTo3D(x, y, z);
      else
        view.LineTo3D(x, y, z);
      if (ids == mk::PointIds::Shown) view.TextOut3D(std::to_string(i * 37 % 100003), x, y, z);
    }
  }
};

/// Passes every call on but cannot measure labels, so a redraw writes all of them.
class PlainCanvas : public mk::Canvas {
 public:
  explicit PlainCanvas(mk::Canvas& target) : target_(target) {}
  void SetPenColor(mk::Rgb c) override { target_.SetPenColor(c); }
  void MoveTo(int x, int y) override { target_.MoveTo(x, y); }
  void LineTo(int x, int y) override { target_.LineTo(x, y); }
  void TextOut(int x, int y, std::string_view t, mk::Rgb c, int p) override {
    target_.TextOut(x, y, t, c, p);
  }
  void FillRect(int l, int t, int r, int b, mk::Rgb c) override { target_.FillRect(l, t, r, b, c); }
  mk::PixelPoint PenPos() const override { return target_.PenPos(); }
  void BreakLine() override { target_.BreakLine(); }

 private:
  mk::Canvas& target_;
};

QImage Redrawn(const mk::Document& document, QImage::Format format, QSize size, int direction,
               bool every_label) {
  QImage image(size, format);
  mk::QtCanvas canvas(&image);
  PlainCanvas plain(canvas);
  mk::ProjectionView view;
  view.SetCanvas(every_label ? static_cast<mk::Canvas*>(&plain) : &canvas, size.width(),
                 size.height());
  mk::RedrawView(view, direction, mk::RangeForDirection(document, direction), document,
                 mk::PointIds::Shown);
  canvas.End();
  return image;
}

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kLabelGreen = qRgb(0, 128, 0);

int CountColour(const QImage& image, QRgb colour, QRect area) {
  int n = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFFu) == (colour & 0xFFFFFFu)) ++n;
  return n;
}

}  // namespace

class QtCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  // Hidden labels are left out of a redraw; the picture must not change by a single pixel.
  void crowdedLabelsGiveTheSamePictureWithoutTheHiddenOnes_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("direction");
    QTest::newRow("bitmap") << int(QImage::Format_RGB32) << QSize(300, 200) << 0;
    QTest::newRow("tiny") << int(QImage::Format_RGB32) << QSize(40, 30) << 1;
    QTest::newRow("large") << int(QImage::Format_RGB32) << QSize(1200, 900) << 2;
    QTest::newRow("painter lines") << int(QImage::Format_RGB16) << QSize(300, 200) << 0;
  }
  void crowdedLabelsGiveTheSamePictureWithoutTheHiddenOnes() {
    QFETCH(int, format);
    QFETCH(QSize, size);
    QFETCH(int, direction);
    const CrowdedDocument document;
    const auto f = static_cast<QImage::Format>(format);
    const QImage every = Redrawn(document, f, size, direction, true);
    const QImage culled = Redrawn(document, f, size, direction, false);
    if (f == QImage::Format_RGB32) QVERIFY(CountColour(every, kLabelGreen, every.rect()) > 0);
    QCOMPARE(culled, every);
  }

  // Number labels are written from glyphs looked up once per font; every pixel must be the one
  // drawText gives, on its opaque box, where labels of two colours overlap and at the edges.
  void numberLabelsLandWhereDrawTextPutsThem_data() {
    QTest::addColumn<int>("format");
    QTest::newRow("bitmap") << int(QImage::Format_RGB32);
    QTest::newRow("painter lines") << int(QImage::Format_RGB16);
  }
  void numberLabelsLandWhereDrawTextPutsThem() {
    QFETCH(int, format);
    const QSize size(320, 240);
    QImage mine(size, static_cast<QImage::Format>(format));
    QImage reference(size, static_cast<QImage::Format>(format));
    struct Label {
      int x, y;
      std::string text;
      mk::Rgb colour;
    };
    std::vector<Label> labels;
    unsigned state = 99;
    auto next = [&state](unsigned range) {
      state = state * 1103515245u + 12345u;
      return static_cast<int>((state >> 8) % range);
    };
    for (int i = 0; i < 3000; ++i) {
      std::string text = std::to_string(next(4000000) - 2000000);
      if (i % 97 == 0) text += "x";  // not a number: written by drawText itself
      labels.push_back({next(360) - 20, next(280) - 20, text, i % 2 ? 0x008000u : 0x0000C0u});
    }
    {
      mk::QtCanvas canvas(&mine);
      canvas.FillRect(0, 0, size.width(), size.height(), 0xFFFFFFu);
      for (const Label& l : labels) canvas.TextOut(l.x, l.y, l.text, l.colour, 8);
      canvas.End();
    }
    {
      QPainter painter(&reference);
      painter.fillRect(reference.rect(), Qt::white);
      QFont font = painter.font();
      font.setPointSize(8);
      painter.setFont(font);
      const int ascent = QFontMetrics(font, &reference).ascent();
      painter.setBackgroundMode(Qt::OpaqueMode);
      painter.setBackground(Qt::white);
      for (const Label& l : labels) {
        painter.setPen(mk::ToQColor(l.colour));
        painter.drawText(QPoint(l.x, l.y + ascent), QString::fromStdString(l.text));
      }
    }
    if (format == QImage::Format_RGB32) QVERIFY(CountColour(reference, kLabelGreen, reference.rect()) > 0);
    QCOMPARE(mine, reference);
  }

  void linesLandOnThePixels() {
    QImage image(100, 60, QImage::Format_RGB32);
    mk::QtCanvas canvas(&image);
    canvas.FillRect(0, 0, 100, 60, mk::kBackgroundColour);
    canvas.SetPenColor(mk::kModelColour);
    canvas.MoveTo(10, 10);
    canvas.LineTo(50, 10);
    canvas.LineTo(50, 40);
    canvas.End();
    QCOMPARE(image.pixel(30, 10), kWhite);
    QCOMPARE(image.pixel(50, 25), kWhite);
    QCOMPARE(image.pixel(30, 11), kBlack);
    QCOMPARE(image.pixel(9, 10), kBlack);
  }

  void labelKeepsThePolylineGoing() {
    QImage image(200, 120, QImage::Format_RGB32);
    mk::QtCanvas canvas(&image);
    mk::ProjectionView view;
    view.SetCanvas(&canvas, 200, 120);
    view.SetRange(-100, 60, 100, -60);  // edges -110..110 by -66..66: scale 120 / 132
    view.Clear(mk::kBackgroundColour);
    view.SetPenColor(mk::kModelColour);
    view.MoveTo3D(-50, 0, 0);
    view.LineTo3D(0, 0, 0);
    view.TextOut3D("123", 40, 40, 0);
    view.LineTo3D(0, -50, 0);
    canvas.End();
    mk::PixelPoint corner;
    QVERIFY(view.PixelOf(0, 0, corner));
    QCOMPARE(image.pixel(corner.x - 20, corner.y), kWhite);
    // The second line starts where the first ended, not at the label.
    QCOMPARE(image.pixel(corner.x, corner.y + 20), kWhite);
    mk::PixelPoint label;
    QVERIFY(view.PixelOf(40, 40, label));
    QVERIFY(CountColour(image, kLabelGreen, QRect(label.x, label.y, 40, 20)) > 5);
  }

  void farPointsAreClippedNotLost() {
    QImage image(100, 100, QImage::Format_RGB32);
    mk::QtCanvas canvas(&image);
    canvas.FillRect(0, 0, 100, 100, mk::kBackgroundColour);
    canvas.SetPenColor(mk::kModelColour);
    canvas.MoveTo(-900000000, 50);
    canvas.LineTo(900000000, 50);
    canvas.End();
    QCOMPARE(image.pixel(0, 50), kWhite);
    QCOMPARE(image.pixel(99, 50), kWhite);
    QCOMPARE(image.pixel(50, 49), kBlack);
  }

  void nullImageIsHarmless() {
    QImage none;
    mk::QtCanvas canvas(&none);
    canvas.FillRect(0, 0, 10, 10, mk::kBackgroundColour);
    canvas.MoveTo(0, 0);
    canvas.LineTo(5, 5);
    canvas.TextOut(1, 1, "1", mk::kLabelColour, 9);
    canvas.End();
    QVERIFY(none.isNull());
  }

  void hundredThousandPointPolylineIsDrawnWhole() {
    QImage image(1000, 800, QImage::Format_RGB32);
    mk::QtCanvas canvas(&image);
    mk::ProjectionView view;
    view.SetCanvas(&canvas, 1000, 800);
    view.SetRange(-100, 100, 100, -100);
    view.Clear(mk::kBackgroundColour);
    view.DrawGrid(mk::kGridStep);
    view.SetPenColor(mk::kModelColour);
    view.MoveTo3D(0, 0, 0);
    for (int i = 1; i <= 100000; ++i) {
      const double t = i * 0.01;
      view.LineTo3D(90 * std::sin(t * 1.3), 90 * std::cos(t * 0.7), 0);
    }
    canvas.End();
    QVERIFY(CountColour(image, kWhite, image.rect()) > 1000);
  }

  void renderedPngShowsAxesAndModel() {
    QTemporaryDir dir;
    const LineDocument doc({-10, -10, -10, 10, 10, 10});
    const QString file = dir.filePath(QStringLiteral("front.png"));
    mk::RenderOptions options;  // 400 x 300, front
    mk::RenderDocumentToPng(doc, doc, options, file.toStdString());
    const QImage png(file);
    QCOMPARE(png.size(), QSize(400, 300));
    // Edges +-11: scale 300 / 22, origin (200, 150).
    QCOMPARE(png.pixel(1, 1), kBlack);
    QCOMPARE(png.pixel(200, 5), qRgb(0, 255, 0));
    QCOMPARE(png.pixel(60, 150), qRgb(255, 0, 0));  // the range spans columns 50..350
    QCOMPARE(png.pixel(45, 150), kBlack);
    const int step = qRound(10 * 300.0 / 22.0);
    QCOMPARE(png.pixel(200 + step / 2, 150 - step / 2), kWhite);
    QCOMPARE(CountColour(png, kLabelGreen, png.rect()), 0);
  }

  void renderWithIdsWritesLabels() {
    QTemporaryDir dir;
    const LineDocument doc({-10, -10, -10, 10, 10, 10});
    const QString file = dir.filePath(QStringLiteral("ids.png"));
    mk::RenderOptions options;
    options.ids = true;
    options.direction = mk::kLeftView;
    mk::RenderDocumentToPng(doc, doc, options, file.toStdString());
    const QImage png(file);
    QVERIFY(CountColour(png, kLabelGreen, png.rect()) > 5);
  }

  void renderToAMissingFolderThrows() {
    QTemporaryDir dir;
    const LineDocument doc({-1, -1, -1, 1, 1, 1});
    const QString file = dir.filePath(QStringLiteral("no/such/folder/x.png"));
    QVERIFY_THROWS_EXCEPTION(mk::FileError,
                             mk::RenderDocumentToPng(doc, doc, mk::RenderOptions{}, file.toStdString()));
    QVERIFY(!QFile::exists(file));
  }
};

QTEST_MAIN(QtCanvasTest)
#include "QtCanvasTest.moc"
