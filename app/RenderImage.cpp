#include "app/RenderImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>

#include "app/QtCanvas.h"
#include "model/Errors.h"
#include "model/FileIo.h"
#include "model/Globals.h"
#include "view/M_scr.h"

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

/// Sets the id switch for one picture and puts the caller's value back afterwards.
class IdSwitch {
 public:
  explicit IdSwitch(bool show) : saved_(ShowCpNumbers) { ShowCpNumbers = show; }
  ~IdSwitch() { ShowCpNumbers = saved_; }
  IdSwitch(const IdSwitch&) = delete;
  IdSwitch& operator=(const IdSwitch&) = delete;

 private:
  bool saved_;
};

}  // namespace

void RenderDocumentToPng(const Mamcommon& bounds_document, const Mamcommon& drawn,
                         const RenderOptions& options, const std::string& png_file) {
  if (options.width < 1 || options.height < 1)
    throw FileError(FileError::Kind::Create, png_file, "the picture has no pixels");
  EnsureGuiApplication();
  QImage image(options.width, options.height, QImage::Format_RGB32);
  if (image.isNull()) throw FileError(FileError::Kind::Create, png_file, "out of memory");
  {
    const IdSwitch ids(options.ids);
    QtCanvas canvas(&image);
    Mscreen view;
    view.SetCanvas(&canvas, options.width, options.height);
    RedrawView(view, options.direction, RangeForDirection(bounds_document, options.direction),
               drawn);
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
