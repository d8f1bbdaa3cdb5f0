// Splines written on two threads must come out exactly as a plain loop writes them.

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/util/LineList.h"
#include "core/util/OrderedWriting.h"
#include "core/workflow/Workflow.h"

namespace mk {
namespace {

/// Empty when equal, otherwise the text around the first difference (a full diff of megabytes
/// would not help anyone).
std::string FirstDifference(const std::string& got, const std::string& want) {
  std::size_t at = 0;
  while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
  if (at == got.size() && at == want.size()) return "";
  const std::size_t from = at < 40 ? 0 : at - 40;
  return "at byte " + std::to_string(at) + ": got \"" + got.substr(from, 80) + "\", want \"" +
         want.substr(from, 80) + "\"";
}

std::string Plain(const std::vector<int>& weights) {
  LineWriter out;
  for (std::size_t i = 0; i < weights.size(); ++i)
    for (int k = 0; k <= weights[i]; ++k) out.Add("item " + std::to_string(i) + " line " + std::to_string(k));
  return out.Bytes();
}

std::string Ordered(const std::vector<int>& weights, std::size_t* count = nullptr) {
  std::string text;
  LineWriter out([&text](std::string_view piece) { text.append(piece); });
  WriteInOrder(
      out, weights.size(), [&weights](std::size_t i) { return weights[i]; },
      [&weights](std::size_t i, LineWriter& run) {
        for (int k = 0; k <= weights[i]; ++k)
          run.Add("item " + std::to_string(i) + " line " + std::to_string(k));
      });
  out.Flush();
  if (count != nullptr) *count = out.Count();
  return text;
}

TEST(WriteInOrder, GivesThePlainLoopsTextForEdgeMixesOfItems) {
  const std::vector<std::vector<int>> fixed{
      {}, {0}, {3}, {int{kPointsPerRun} * 3}, std::vector<int>(5000, 0),
      std::vector<int>(kPointsPerRun + 1, 1)};
  for (const auto& weights : fixed) EXPECT_EQ(FirstDifference(Ordered(weights), Plain(weights)), "") << weights.size();
}

// Twenty random mixes, many small items and few heavy ones by turns, in four cases of five
// rounds that run side by side.
class WriteInOrderRandom : public testing::TestWithParam<int> {};

TEST_P(WriteInOrderRandom, GivesThePlainLoopsTextForAnyMixOfItems) {
  std::mt19937 random(11 + static_cast<unsigned>(GetParam()));
  for (int round = 0; round < 5; ++round) {
    const bool small = round % 2 == 0;
    std::vector<int> weights(std::uniform_int_distribution<std::size_t>(1, small ? 3000 : 300)(random));
    std::uniform_int_distribution<int> weight(0, small ? 40 : 3000);
    for (int& w : weights) w = weight(random);
    std::size_t count = 0;
    const std::string text = Ordered(weights, &count);
    EXPECT_EQ(FirstDifference(text, Plain(weights)), "") << "round " << round;
    std::size_t lines = 0;
    for (int w : weights) lines += static_cast<std::size_t>(w) + 1;
    EXPECT_EQ(count, lines);
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, WriteInOrderRandom, testing::Range(0, 4));

TEST(WriteInOrder, AnErrorInEitherThreadReachesTheCaller) {
  const std::vector<int> weights(400, 1000);  // a run of 17 items each
  for (std::size_t failing : {std::size_t{3}, std::size_t{20}, std::size_t{399}}) {
    LineWriter out([](std::string_view) {});
    EXPECT_THROW(WriteInOrder(
                     out, weights.size(), [&weights](std::size_t i) { return weights[i]; },
                     [failing](std::size_t i, LineWriter& run) {
                       if (i == failing) throw std::runtime_error("disk full");
                       run.Add("x");
                     }),
                 std::runtime_error)
        << failing;
  }
}

// A model far bigger than one run, in the writer's own form: saving it gives back its bytes.
std::string BigSegment(int splines, int points_each) {
  LineWriter out;
  for (const char* line : {"SCUL 1 0 2 0 0 0", "0", "0 -100 -100 100 100 100", "1 1 1", "big", "0"})
    out.Add(line);
  out.Add(std::to_string(splines));
  int id = 0;
  for (int s = 0; s < splines; ++s) {
    out.Add(std::to_string(points_each));
    for (int p = 0; p < points_each; ++p) {
      out.Add("0 0 " + std::to_string(++id));
      out.Add(std::to_string(s % 97) + ".5 " + std::to_string(p) + " -" + std::to_string(id % 1000 + 1));
      out.Add("0");
      out.Add(p % 7 == 0 ? "0.1 0.2 0.3" : "0");
    }
  }
  return out.Bytes();
}

std::string BigModel(int splines, int points_each) {
  LineWriter out;
  for (const char* line : {"[MODELFILE]", "[MESH]", "Version=2"}) out.Add(line);
  out.Add("Splines=" + std::to_string(splines));
  int id = 0;
  for (int s = 0; s < splines; ++s) {
    out.Add("CPs=" + std::to_string(points_each));
    for (int p = 0; p < points_each; ++p) {
      out.Add("0 0 " + std::to_string(++id));
      out.Add(std::to_string(s % 97) + ".25 " + std::to_string(p) + " 7");
      out.Add("0");
      out.Add("0");
    }
  }
  out.Add("[ENDMESH]");
  out.Add("[ENDMODELFILE]");
  return out.Bytes();
}

std::string Saved(FileKind kind, const std::string& text) {
  auto document = CreateDocument(kind, nullptr, nullptr);
  document->LoadFromLines(LineList::FromText(text), 0);
  std::string saved;
  LineWriter out([&saved](std::string_view piece) { saved.append(piece); });
  document->SaveToLines(out);
  out.Flush();
  return saved;
}

TEST(WriteInOrder, BigModelsOfBothFormatsSaveAsTheyWereRead) {
  const std::string segment = BigSegment(3001, 23);
  EXPECT_EQ(FirstDifference(Saved(FileKind::Segment, segment), segment), "");
  const std::string model = BigModel(2999, 29);
  EXPECT_EQ(FirstDifference(Saved(FileKind::Model, model), model), "");
}

}  // namespace
}  // namespace mk
