#include "web/src/WebSession.h"

#include <new>

#include "core/document/DocumentView.h"
#include "core/util/Errors.h"
#include "core/util/NumberText.h"
#include "core/view/ProjectionView.h"
#include "core/workflow/ReportJson.h"
#include "render/MarkerLayer.h"
#include "web/src/JsonText.h"

namespace mk::web {
namespace {

std::string ErrorAnswer(const std::string& japanese, const std::string& english) {
  return "{\"ok\":false,\"error\":{\"ja\":" + JsonString(japanese) +
         ",\"en\":" + JsonString(english) + "}}";
}

std::string ErrorAnswer(const Error& error) {
  return ErrorAnswer(error.Message(Language::Japanese), error.Message(Language::English));
}

std::string QuestionJson(const DockedLook& look) {
  if (!look.looks_docked) return "null";
  const char* sign =
      look.sign == DockedLook::Sign::MirroredPairs ? "mirrored_pairs" : "symmetric_box";
  return "{\"reason\":" + JsonString(look.reason) + ",\"sign\":\"" + sign +
         "\",\"id_offset\":" + std::to_string(look.id_offset) + "}";
}

std::string WarningsJson(const WarningList& list) {
  std::vector<std::string> japanese;
  std::vector<std::string> english;
  for (const DockWarning& warning : list.warnings) {
    japanese.push_back(warning.Message(Language::Japanese));
    english.push_back(warning.Message(Language::English));
  }
  return "{\"ja\":" + JsonStringList(japanese) + ",\"en\":" + JsonStringList(english) + "}";
}

}  // namespace

std::string WebSession::Open(const std::string& path, const std::string& tolerance_text,
                             Redock redock) {
  // A failed open leaves nothing of the model before it on show.
  model_ = OpenedModel();
  opened_path_.clear();
  try {
    const FileKind kind = FileKindOf(path);
    if (kind == FileKind::Other) return "{\"ok\":false,\"wrong_extension\":true}";
    const double tolerance = StrToFloat(tolerance_text);
    DockedLook asked;
    DockOptions options;
    options.with_report = true;
    options.ask_before_redocking = [&asked, redock](const DockedLook& look) {
      asked = look;
      return redock == Redock::Yes;
    };
    WarningList warnings;
    model_ = ReadAndDock(path, kind, tolerance, nullptr, &warnings, WithReference::Yes, options);
    opened_path_ = path;
    const auto lines = StatisticsLines(model_.statistics);
    return std::string("{\"ok\":true,\"docked\":") + (model_.docked ? "true" : "false") +
           ",\"redock_question\":" + QuestionJson(asked) +
           ",\"statistics\":" + JsonStringList({lines[0], lines[1]}) +
           ",\"warnings\":" + WarningsJson(warnings) + ",\"report\":" + ReportJson(model_.report) +
           "}";
  } catch (const Error& error) {
    model_ = OpenedModel();
    return ErrorAnswer(error);
  } catch (const std::bad_alloc&) {
    model_ = OpenedModel();
    return ErrorAnswer("メモリが足りません", "out of memory");
  }
}

void WebSession::Draw(bool docked_view, int direction, bool ids, int width, int height,
                      RecordingCanvas& canvas) const {
  ProjectionView view;
  view.SetCanvas(&canvas, width, height);
  if (!model_.working || !model_.reference) {
    view.Clear(kBackgroundColour);
    view.DrawGrid(kGridStep);
    return;
  }
  // Both views take one range, so that they show the model at one scale: the docked model's
  // bounds, or the points of one left as read.
  const ViewRange range = model_.docked ? RangeForDirection(*model_.working, direction)
                                        : RangeOfPoints(*model_.working, direction);
  const Document& drawn = docked_view ? *model_.working : *model_.reference;
  RedrawView(view, direction, range, drawn, ids ? PointIds::Shown : PointIds::Hidden);
  if (docked_view && model_.docked) DrawMarkers(view, canvas, MarkersOf(model_.report));
}

std::string WebSession::Save(const std::string& target) const {
  if (!model_.working || !model_.docked) return ErrorAnswer("", "nothing to save");
  try {
    const std::string written = WriteDocument(*model_.working, opened_path_, target);
    return "{\"ok\":true,\"file\":" + JsonString(written) + "}";
  } catch (const Error& error) {
    return ErrorAnswer(error);
  }
}

}  // namespace mk::web
