#include "render/RenderImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>

#include "render/QtCanvas.h"
#include "core/util/Errors.h"
#include "core/util/FileIo.h"
#include "core/document/DocumentView.h"

namespace mk {
namespace {

/// Text needs a GUI application; a command-line caller has none and perhaps no display either.
void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 3;
  static char program[] = "mirrorknit";
  static char platform_option[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {program, platform_option, platform, nullptr};
  // Lives until the process ends, like the application object of the desktop program.
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
}

}  // namespace

void RenderDocumentToPng(const Document& bounds_document, const Document& drawn,
                         const RenderOptions& options, const std::string& png_file) {
  if (options.width < 1 || options.height < 1)
    throw FileError(FileError::Kind::Create, png_file, "the picture has no pixels");
  EnsureGuiApplication();
  QImage image(options.width, options.height, QImage::Format_RGB32);
  if (image.isNull()) throw FileError(FileError::Kind::Create, png_file, "out of memory");
  {
    QtCanvas canvas(&image);
    ProjectionView view;
    view.SetCanvas(&canvas, options.width, options.height);
    RedrawView(view, options.direction, RangeForDirection(bounds_document, options.direction),
               drawn, options.ids ? PointIds::Shown : PointIds::Hidden);
    canvas.End();
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG"))
    throw FileError(FileError::Kind::Write, png_file, "PNG encoding failed");
  WriteFileAtomically(png_file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace mk
