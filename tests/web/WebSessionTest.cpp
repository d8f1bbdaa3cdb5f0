// The page's way into the core, natively: what it answers the page, what it draws, what it saves,
// and that a failed open leaves nothing of the model before it.

#include <gtest/gtest.h>

#include <string>

#include "core/view/ProjectionView.h"
#include "core/workflow/Workflow.h"
#include "render/MarkerLayer.h"
#include "support/Files.h"
#include "web/src/JsonText.h"
#include "web/src/RecordingCanvas.h"
#include "web/src/WebSession.h"

namespace mk::web {
namespace {

using test::ReadFile;
using test::ScratchDirectory;
using test::TempDir;

const std::string kSeam = std::string(MK_SOURCE_DIR) + "/examples/seam.mdl";
const std::string kRingSegment = std::string(MK_SOURCE_DIR) + "/examples/ring.seg";

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

/// How often the drawing sets the pen to the colour.
int PenColourUses(const RecordingCanvas& canvas, Rgb colour) {
  const auto& ops = canvas.Operations();
  int uses = 0;
  for (std::size_t i = 0; i < ops.size();) {
    const auto op = static_cast<DrawOp>(ops[i]);
    if (op == DrawOp::PenColour && static_cast<Rgb>(ops[i + 1]) == colour) ++uses;
    i += op == DrawOp::PenColour ? 2 : op == DrawOp::MoveTo || op == DrawOp::LineTo ? 3 : 6;
  }
  return uses;
}

/// The number of lines drawn in the model's colour; with a size, only those ending inside it.
int ModelLines(const RecordingCanvas& canvas, int width = 0, int height = 0) {
  const auto& ops = canvas.Operations();
  int lines = 0;
  Rgb pen = 0;
  for (std::size_t i = 0; i < ops.size();) {
    const auto op = static_cast<DrawOp>(ops[i]);
    if (op == DrawOp::PenColour) pen = static_cast<Rgb>(ops[i + 1]);
    const bool inside = width == 0 || (ops[i + 1] >= 0 && ops[i + 1] < width && ops[i + 2] >= 0 &&
                                       ops[i + 2] < height);
    if (op == DrawOp::LineTo && pen == kModelColour && inside) ++lines;
    i += op == DrawOp::PenColour ? 2 : op == DrawOp::MoveTo || op == DrawOp::LineTo ? 3 : 6;
  }
  return lines;
}

TEST(WebSession, DocksAsTheWorkflowDoesAndSavesItsBytes) {
  ScratchDirectory scratch;
  TempDir out;
  for (const std::string& input : {kSeam, kRingSegment}) {
    SCOPED_TRACE(input);
    WebSession session;
    const std::string answer = session.Open(input, "0.4", Redock::Ask);
    ASSERT_TRUE(Has(answer, "\"ok\":true")) << answer;
    EXPECT_TRUE(Has(answer, "\"docked\":true"));
    EXPECT_TRUE(Has(answer, "\"redock_question\":null"));
    const OpenedModel direct =
        ReadAndDock(input, FileKindOf(input), 0.4, nullptr, nullptr, WithReference::No);
    const auto lines = StatisticsLines(direct.statistics);
    EXPECT_TRUE(Has(answer, "\"statistics\":[\"" + lines[0] + "\",\"" + lines[1] + "\"]"))
        << answer;
    EXPECT_TRUE(Has(answer, "\"report\":{")) << answer;

    const std::string name = input.substr(input.rfind('/') + 1);
    const std::string saved = session.Save(out.File("page-" + name));
    ASSERT_TRUE(Has(saved, "\"ok\":true")) << saved;
    WriteDocument(*direct.working, input, out.File("direct-" + name));
    EXPECT_EQ(ReadFile(out.File("page-" + name)), ReadFile(out.File("direct-" + name)));
  }
}

TEST(WebSession, DrawsTheMarkersOnTheDockedViewOnly) {
  ScratchDirectory scratch;
  WebSession session;
  ASSERT_TRUE(Has(session.Open(kSeam, "0.4", Redock::Ask), "\"docked\":true"));
  for (int direction : {kFrontView, kLeftView, kTopView}) {
    SCOPED_TRACE(direction);
    RecordingCanvas docked;
    RecordingCanvas source;
    session.Draw(true, direction, false, 320, 240, docked);
    session.Draw(false, direction, true, 320, 240, source);
    EXPECT_GT(ModelLines(docked), ModelLines(source)) << "the docked model has its mirror half";
    EXPECT_GT(ModelLines(source), 0);
    // The example has snapped points and near misses at the seam.
    EXPECT_EQ(PenColourUses(docked, MarkerColour(MarkerKind::Snapped)), 1);
    EXPECT_EQ(PenColourUses(docked, MarkerColour(MarkerKind::NearMiss)), 1);
    EXPECT_EQ(PenColourUses(source, MarkerColour(MarkerKind::Snapped)), 0);
    EXPECT_FALSE(source.Texts().empty()) << "ids were asked for";
  }
}

TEST(WebSession, KeepsADockedModelAsReadUntilAskedToDockItAgain) {
  ScratchDirectory scratch;
  TempDir out;
  const std::string whole = out.File("whole.mdl");
  {
    WebSession first;
    first.Open(kSeam, "0.4", Redock::Ask);
    ASSERT_TRUE(Has(first.Save(whole), "\"ok\":true"));
  }
  WebSession session;
  const std::string asked = session.Open(whole, "0.4", Redock::Ask);
  EXPECT_TRUE(Has(asked, "\"ok\":true")) << asked;
  EXPECT_TRUE(Has(asked, "\"docked\":false"));
  EXPECT_TRUE(Has(asked, "\"redock_question\":{\"reason\":")) << asked;
  EXPECT_TRUE(Has(session.Save(out.File("nothing.mdl")), "\"ok\":false"));
  RecordingCanvas as_read;
  session.Draw(false, kFrontView, false, 320, 240, as_read);
  // It has no bounds before docking: its points frame it.
  EXPECT_GT(ModelLines(as_read, 320, 240), 20) << "a model left as read is still shown";

  const std::string again = session.Open(whole, "0.4", Redock::Yes);
  EXPECT_TRUE(Has(again, "\"docked\":true")) << again;
  EXPECT_TRUE(Has(session.Save(out.File("twice.mdl")), "\"ok\":true"));
}

TEST(WebSession, AFailedOpenAnswersInBothLanguagesAndShowsNothingOfTheModelBefore) {
  ScratchDirectory scratch;
  TempDir out;
  WebSession session;
  ASSERT_TRUE(Has(session.Open(kSeam, "0.4", Redock::Ask), "\"ok\":true"));

  const std::string bad_tolerance = session.Open(kSeam, "abc", Redock::Ask);
  EXPECT_TRUE(Has(bad_tolerance, "\"ok\":false,\"error\":{\"ja\":\"")) << bad_tolerance;
  EXPECT_TRUE(Has(bad_tolerance, "'abc' is not a valid floating point value")) << bad_tolerance;
  RecordingCanvas after;
  session.Draw(true, kFrontView, false, 320, 240, after);
  EXPECT_EQ(ModelLines(after), 0);
  EXPECT_TRUE(Has(session.Save(out.File("stale.mdl")), "\"ok\":false"));

  const std::string missing = session.Open(out.File("gone.mdl"), "0.4", Redock::Ask);
  EXPECT_TRUE(Has(missing, "\"ok\":false,\"error\":")) << missing;
  EXPECT_EQ(session.Open(out.File("model.txt"), "0.4", Redock::Ask),
            "{\"ok\":false,\"wrong_extension\":true}");
}

TEST(JsonString, EscapesWhatJsonRequiresAndPassesOtherBytes) {
  EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(JsonString("1\r\n2\t"), "\"1\\r\\n2\\t\"");
  EXPECT_EQ(JsonString(std::string("\x01", 1)), "\"\\u0001\"");
  EXPECT_EQ(JsonString("ｱタッチ"), "\"ｱタッチ\"");
  EXPECT_EQ(JsonStringList({}), "[]");
  EXPECT_EQ(JsonStringList({"a", "b"}), "[\"a\",\"b\"]");
}

TEST(RecordingCanvas, RecordsEachOperationWithItsArgumentsAndTracksThePen) {
  RecordingCanvas canvas;
  canvas.SetPenColor(0x123456);
  canvas.MoveTo(1, 2);
  canvas.LineTo(-3, 4);
  canvas.FillRect(0, 0, 5, 6, 0xFF0000);
  canvas.TextOut(7, 8, "12", 0x00FF00, 9);
  EXPECT_EQ(canvas.PenPos(), (PixelPoint{-3, 4}));
  const std::vector<std::int32_t> expected = {1, 0x123456, 2, 1,        2, 3, -3, 4, 5,        0,
                                              0, 5,        6, 0xFF0000, 4, 7, 8,  0, 0x00FF00, 9};
  EXPECT_EQ(canvas.Operations(), expected);
  EXPECT_EQ(canvas.Texts(), std::vector<std::string>{"12"});
}

}  // namespace
}  // namespace mk::web
