#pragma once
// What the page does with one model, in the order the desktop program does it: open and dock
// (asking first when the model looks docked already), draw either view, save the docked model.
// The page's files live in the module's memory file system; nothing leaves the browser.

#include <memory>
#include <string>

#include "core/workflow/Workflow.h"
#include "web/src/RecordingCanvas.h"

namespace mk::web {

/// Whether a model that looks docked already is docked again.
enum class Redock { Ask, Yes };

class WebSession {
 public:
  /// Reads and docks the file with the tolerance as typed ("." as decimal separator). With Ask,
  /// a model that looks docked is kept as read and the answer says why it looks docked, so the
  /// page can put the question and open it again with Yes. The answer is a JSON object: "ok",
  /// then either "error" (in both languages) or "docked", "redock_question", "statistics",
  /// "warnings" and "report".
  std::string Open(const std::string& path, const std::string& tolerance_text, Redock redock);

  /// Draws the model as read (docked_view false) or the docked model with its markers, as the
  /// program's views show them: both at the scale of the docked model's range.
  void Draw(bool docked_view, int direction, bool ids, int width, int height,
            RecordingCanvas& canvas) const;

  /// Writes the docked model to target (never over the opened file, so no backup is taken).
  /// Gives the JSON answer "ok" with "error" on failure.
  std::string Save(const std::string& target) const;

 private:
  std::string opened_path_;
  OpenedModel model_;
};

}  // namespace mk::web
