#include "core/tagged/TaggedReader.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "core/tagged/TaggedPositions.h"
#include "core/tagged/TaggedText.h"
#include "core/util/Errors.h"

namespace mk::tagged {
namespace {

bool IsTagName(std::string_view name) {
  if (name.empty()) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  });
}

/// The sections that name control points without a mirror we know of; the dock report lists them.
constexpr std::string_view kKeptTags[] = {"STAMPS",      "HAIRGUIDE",
                                         "COMPACTMUSCLECHANNELS",
                                         "COMPACTRELATIONMUSCLECHANNELS",
                                         "SPLINESHORTCUT", "PATHCONSTRAINT"};

class Reader {
 public:
  explicit Reader(TaggedFile& file) : file_(file), text_(file.text.data(), file.text.size()) {}

  void Run() {
    std::uint64_t pos = 0;
    std::int64_t number = 0;
    while (pos < text_.size()) {
      std::uint64_t stop = pos;
      while (stop < text_.size() && text_[stop] != '\r' && text_[stop] != '\n') ++stop;
      std::uint64_t after = stop;
      if (after < text_.size() && text_[after] == '\r') ++after;
      if (after < text_.size() && text_[after] == '\n') ++after;
      if (number == 0) {
        file_.eol = std::string(text_.substr(stop, after - stop));
        if (file_.eol.empty()) file_.eol = "\r\n";
      }
      line_ = text_.substr(pos, stop - pos);
      offset_ = pos;
      number_ = number;
      Take(after);
      if (number > 0 && stack_.empty()) break;  // what follows the file's end is kept as it is
      pos = after;
      ++number;
    }
    if (!stack_.empty())
      throw FormatError(FormatError::Kind::TagNeverClosed, stack_.back().line,
                        "<" + std::string(stack_.back().name) + ">");
    MatchFileInfoPos();
  }

 private:
  struct Open {
    std::string_view name;
    std::int64_t line;
  };

  [[noreturn]] void Fail(FormatError::Kind kind, std::string_view detail) const {
    throw FormatError(kind, number_, std::string(detail));
  }

  void Take(std::uint64_t after) {
    if (number_ == 0 && line_ != kFirstLine)
      Fail(FormatError::Kind::UnknownPointForm, line_);  // only called on the dialect's files
    if (line_.size() >= 3 && line_[0] == '<' && line_[1] == '/' && line_.back() == '>' &&
        IsTagName(line_.substr(2, line_.size() - 3))) {
      Close(line_.substr(2, line_.size() - 3), after);
      return;
    }
    if (!line_.empty() && line_[0] == '<') {
      const std::size_t gt = line_.find('>');
      if (gt != std::string_view::npos && IsTagName(line_.substr(1, gt - 1)) &&
          (gt + 1 == line_.size() || line_[gt + 1] == ' ')) {
        OpenTag(line_.substr(1, gt - 1));
        return;
      }
    }
    Content();
  }

  bool At(std::initializer_list<std::string_view> path) const {
    if (stack_.size() != path.size()) return false;
    std::size_t i = 0;
    for (const std::string_view name : path)
      if (stack_[i++].name != name) return false;
    return true;
  }
  bool InModel() const {
    return stack_.size() >= 3 && stack_[0].name == "MODELFILE" && stack_[1].name == "OBJECTS" &&
           stack_[2].name == "MODEL";
  }
  bool InSpline() const { return At({"MODELFILE", "OBJECTS", "MODEL", "MESH", "SPLINE"}); }
  bool InMesh(std::string_view part) const {
    return At({"MODELFILE", "OBJECTS", "MODEL", "MESH", part});
  }

  void OpenTag(std::string_view name) {
    if (InSpline())  // a geometry spline holds point lines only
      Fail(FormatError::Kind::UnknownPointForm, line_);
    stack_.push_back({name, number_});
    if (At({"MODELFILE", "OBJECTS", "MODEL"})) {
      file_.models.emplace_back();
      model_ = &file_.models.back();
      model_->line = number_;
      list_ = nullptr;
      return;
    }
    if (!model_ || !InModel()) return;
    if (InSpline()) {
      TaggedSpline spline;
      spline.begin = static_cast<std::uint32_t>(model_->chain.size());
      model_->splines.push_back(spline);
    } else if (At({"MODELFILE", "OBJECTS", "MODEL", "FileInfo"})) {
      file_infos_.push_back(offset_);
    } else if (name == "CPS" && stack_.size() >= 2 && stack_[stack_.size() - 2].name == "GROUP") {
      StartList(IdList::Kind::Group);
    } else if (name == "NONSKINNEDCPS") {
      StartList(IdList::Kind::Bone);
    } else if (name == "WEIGHTEDCPS") {
      StartList(IdList::Kind::WeightedBone);
    }
    for (const std::string_view kept : kKeptTags) {
      if (name != kept) continue;
      auto it = std::find_if(model_->kept.begin(), model_->kept.end(),
                             [&](const KeptSection& k) { return k.tag == name; });
      if (it == model_->kept.end()) {
        model_->kept.push_back({std::string(name), number_, 0});
        it = model_->kept.end() - 1;
      }
      ++it->count;
    }
  }

  void StartList(IdList::Kind kind) {
    model_->id_lists.emplace_back();
    model_->id_lists.back().kind = kind;
    list_ = &model_->id_lists.back();
  }

  void Close(std::string_view name, std::uint64_t after) {
    if (stack_.empty() || stack_.back().name != name) {
      std::string detail = "</" + std::string(name) + ">";
      if (!stack_.empty())
        detail += ", open: <" + std::string(stack_.back().name) + "> of line " +
                  std::to_string(stack_.back().line + 1);
      Fail(FormatError::Kind::CloserMismatch, detail);
    }
    if (model_ && InSpline()) {
      TaggedSpline& spline = model_->splines.back();
      spline.count = static_cast<std::uint32_t>(model_->chain.size()) - spline.begin;
      model_->splines_end = after;
    } else if (model_ && InMesh("PATCHES")) {
      model_->patches_closer = offset_;
    } else if (model_ && InMesh("NORMALS")) {
      model_->normals.closer = offset_;
    } else if (list_ && (name == "CPS" || name == "NONSKINNEDCPS" || name == "WEIGHTEDCPS")) {
      list_->run.closer = offset_;
      list_ = nullptr;
    } else if (model_ && At({"MODELFILE", "OBJECTS", "MODEL", "MESH"})) {
      CheckPatchNormals();
    } else if (model_ && At({"MODELFILE", "OBJECTS", "MODEL"})) {
      CheckIds();
      model_ = nullptr;
    }
    stack_.pop_back();
  }

  void Content() {
    if (stack_.size() == 1 && line_.starts_with("FileInfoPos=")) {
      file_.file_info_pos_line = offset_;
      file_.file_info_pos_length = static_cast<std::uint32_t>(line_.size());
      return;
    }
    if (!model_) return;
    if (InSpline()) {
      PointLine();
    } else if (InMesh("PATCHES")) {
      PatchLine();
    } else if (InMesh("NORMALS")) {
      model_->normals.lines.push_back(offset_);
      model_->normals.lengths.push_back(static_cast<std::uint32_t>(line_.size()));
    } else if (list_ && IsListOpen()) {
      ListLine();
    }
  }

  bool IsListOpen() const {
    const std::string_view top = stack_.back().name;
    return top == "CPS" || top == "NONSKINNEDCPS" || top == "WEIGHTEDCPS";
  }

  std::int32_t Int(std::string_view word) const {
    std::int32_t value = 0;
    if (!ParseSigned(word, value)) Fail(FormatError::Kind::NotANumber, word);
    return value;
  }
  std::uint32_t Unsigned(std::string_view word) const {
    std::uint32_t value = 0;
    if (!ParseUnsigned(word, value)) Fail(FormatError::Kind::NotANumber, word);
    return value;
  }
  double Real(std::string_view word) const {
    double value = 0;
    if (!ParseReal(word, value)) Fail(FormatError::Kind::NotANumber, word);
    return value;
  }

  /// A bias slot from word i: "." or three reals; answers the word after it.
  std::size_t Bias(const Words& w, std::size_t i) const {
    if (i >= w.count) Fail(FormatError::Kind::UnknownPointForm, line_);
    if (w.word[i] == ".") return i + 1;
    if (i + 3 > w.count) Fail(FormatError::Kind::UnknownPointForm, line_);
    for (std::size_t k = i; k < i + 3; ++k) Real(w.word[k]);
    return i + 3;
  }

  void PointLine() {
    const Words w = SplitWords(line_);
    if (w.more || w.count < 5) Fail(FormatError::Kind::UnknownPointForm, line_);
    TaggedPoint p;
    p.line = offset_;
    p.length = static_cast<std::uint32_t>(line_.size());
    p.flags = Unsigned(w.word[0]);
    const std::string_view attached = w.word[1];
    if (attached != "0" && attached != "1") Fail(FormatError::Kind::UnknownPointForm, line_);
    p.id = Int(w.word[2]);
    std::size_t end = 0;
    if (attached == "0") {
      if (p.flags & kHookBit) Fail(FormatError::Kind::UnknownPointForm, line_);
      if (w.count < 8) Fail(FormatError::Kind::UnknownPointForm, line_);
      p.form = PointForm::Positioned;
      p.x = Real(w.word[3]);
      p.y = Real(w.word[4]);
      p.z = Real(w.word[5]);
      end = Bias(w, Bias(w, 6));
    } else if (p.flags & kHookBit) {
      p.form = PointForm::Hook;
      if (w.count != 5) Fail(FormatError::Kind::UnknownPointForm, line_);
      p.ratio = Real(w.word[3]);
      p.target = Int(w.word[4]);
      end = 5;
    } else {
      p.form = PointForm::Attached;
      p.target = Int(w.word[3]);
      end = Bias(w, Bias(w, 4));
    }
    if (end != w.count) Fail(FormatError::Kind::UnknownPointForm, line_);
    p.line_form = p.form;
    TaggedSpline& spline = model_->splines.back();
    if (spline.lines_begin == kNoOffset) spline.lines_begin = offset_;
    spline.lines_end = offset_ + line_.size() + EolLength();
    if (model_->points.size() >= kNoPoint - 1)
      Fail(FormatError::Kind::HugeCount, "more than 4294967293 control points");
    model_->chain.push_back(static_cast<std::uint32_t>(model_->points.size()));
    model_->points.push_back(p);
  }

  std::size_t EolLength() const {
    std::size_t i = offset_ + line_.size();
    std::size_t n = 0;
    if (i < text_.size() && text_[i] == '\r') ++i, ++n;
    if (i < text_.size() && text_[i] == '\n') ++n;
    return n;
  }

  void PatchLine() {
    const Words w = SplitWords(line_);
    if (w.more || (w.count != 10 && w.count != 12)) Fail(FormatError::Kind::UnknownPatchForm, line_);
    TaggedPatch patch;
    patch.line = offset_;
    patch.length = static_cast<std::uint32_t>(line_.size());
    patch.line_number = static_cast<std::uint64_t>(number_);
    const std::size_t n = w.count == 12 ? 5 : 4;
    Unsigned(w.word[0]);
    for (std::size_t c = 0; c < n; ++c) {
      patch.id[c] = Int(w.word[1 + c]);
      patch.normal[c] = Unsigned(w.word[1 + n + c]);
    }
    Unsigned(w.word[w.count - 1]);
    patch.corners = static_cast<std::uint32_t>(n);
    if (n == 4 && patch.id[3] == patch.id[0] && patch.normal[3] == patch.normal[0]) patch.corners = 3;
    model_->patches.push_back(patch);
  }

  void ListLine() {
    const Words w = SplitWords(line_);
    const std::size_t expected = list_->kind == IdList::Kind::WeightedBone ? 2 : 1;
    if (w.more || w.count != expected) Fail(FormatError::Kind::UnknownPointForm, line_);
    list_->ids.push_back(Int(w.word[0]));
    if (expected == 2) Real(w.word[1]);
    list_->run.lines.push_back(offset_);
    list_->run.lengths.push_back(static_cast<std::uint32_t>(line_.size()));
  }

  void CheckPatchNormals() const {
    const std::size_t normals = model_->normals.lines.size();
    for (const TaggedPatch& patch : model_->patches)
      for (std::uint32_t c = 0; c < patch.corners; ++c)
        if (patch.normal[c] >= normals)
          throw FormatError(FormatError::Kind::HugeCount, static_cast<std::int64_t>(patch.line_number),
                            "normal " + std::to_string(patch.normal[c]) + " of " +
                                std::to_string(normals));
  }

  void CheckIds() const {
    const auto& points = model_->points;
    if (points.empty()) return;
    std::int64_t highest = points[0].id;
    for (const TaggedPoint& p : points) highest = std::max<std::int64_t>(highest, p.id);
    // The mirror's new ids go above the highest: they must stay in the 32-bit range.
    if (highest + static_cast<std::int64_t>(points.size()) > INT32_MAX)
      throw FormatError(FormatError::Kind::HugeCount, model_->line,
                        std::to_string(points.size()) + " control points above the id " +
                            std::to_string(highest));
    const std::uint32_t twice = FindRepeatedId(points);
    if (twice != kNoPoint)
      throw FormatError(FormatError::Kind::DuplicateId, LineNumberAt(text_, points[twice].line),
                        std::to_string(points[twice].id));
  }

  void MatchFileInfoPos() {
    if (file_.file_info_pos_line == kNoOffset) return;
    const std::string_view line = file_.Line(file_.file_info_pos_line, file_.file_info_pos_length);
    std::uint32_t value = 0;
    std::uint64_t named = 0;
    if (ParseUnsigned(line.substr(line.find('=') + 1), value)) named = value;
    else return;
    for (const std::uint64_t at : file_infos_)
      if (at == named) file_.file_info_line = at;
  }

  TaggedFile& file_;
  std::string_view text_;
  std::vector<Open> stack_;
  TaggedModel* model_ = nullptr;
  IdList* list_ = nullptr;
  std::vector<std::uint64_t> file_infos_;
  std::string_view line_;
  std::uint64_t offset_ = 0;
  std::int64_t number_ = 0;
};

}  // namespace

std::int64_t LineNumberAt(std::string_view text, std::uint64_t offset) {
  std::int64_t number = 0;
  for (std::uint64_t i = 0; i < offset && i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
      ++number;
  return number;
}

TaggedFile ReadTaggedFile(std::string_view bytes) {
  TaggedFile file;
  file.text.assign(bytes.substr(0, std::min(bytes.find('\0'), bytes.size())));
  Reader(file).Run();
  for (TaggedModel& model : file.models) LinkPoints(model);
  return file;
}

}  // namespace mk::tagged
