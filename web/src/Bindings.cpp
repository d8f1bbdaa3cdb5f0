// The page's way into the core: a session object, and a drawing handed over as an Int32Array of
// operations and an array of label texts.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "web/src/WebSession.h"

namespace mk::web {
namespace {

emscripten::val DrawForPage(const WebSession& session, bool docked_view, int direction, bool ids,
                            int width, int height) {
  RecordingCanvas canvas;
  session.Draw(docked_view, direction, ids, width, height, canvas);
  emscripten::val drawing = emscripten::val::object();
  const std::vector<std::int32_t>& operations = canvas.Operations();
  // A view into the module's memory, copied at once: the next allocation may move it.
  drawing.set("operations",
              emscripten::val::global("Int32Array")
                  .new_(emscripten::typed_memory_view(operations.size(), operations.data()))
                  .call<emscripten::val>("slice"));
  emscripten::val texts = emscripten::val::array();
  for (const std::string& text : canvas.Texts()) texts.call<void>("push", text);
  drawing.set("texts", texts);
  return drawing;
}

std::string OpenForPage(WebSession& session, const std::string& path, const std::string& tolerance,
                        bool dock_if_docked) {
  return session.Open(path, tolerance, dock_if_docked ? Redock::Yes : Redock::Ask);
}

}  // namespace

EMSCRIPTEN_BINDINGS(mirrorknit) {
  emscripten::class_<WebSession>("Session")
      .constructor<>()
      .function("open", &OpenForPage)
      .function("draw", &DrawForPage)
      .function("save", &WebSession::Save);
  emscripten::function(
      "version", +[] { return std::string(MK_VERSION); });
}

}  // namespace mk::web
