#include "core/tagged/TaggedWriter.h"

#include <algorithm>

#include "core/tagged/TaggedText.h"
#include "core/util/NumberText.h"

namespace mk::tagged {
namespace {

/// One change to the bytes as read: [begin, end) replaced by what the writer makes of it.
struct Edit {
  enum class Kind : std::uint8_t { Spline, NewSplines, Patches, Normals, IdList, FileInfoPos };
  std::uint64_t begin = 0;
  std::uint64_t end = 0;
  Kind kind = Kind::Spline;
  std::uint32_t model = 0;
  std::uint32_t item = 0;
};

/// The output, counted, so that "FileInfoPos=" can name where a line was written.
class Output {
 public:
  explicit Output(LineWriter& lines) : lines_(lines) {}
  void Bytes(std::string_view bytes) {
    lines_.AddBytes(bytes);
    written_ += bytes.size();
  }
  /// A line built in Text(), ended with the file's line end.
  std::string& Text() { return line_; }
  void EndLine(std::string_view eol) {
    line_ += eol;
    Bytes(line_);
    line_.clear();
  }
  std::uint64_t Written() const { return written_; }

 private:
  LineWriter& lines_;
  std::uint64_t written_ = 0;
  std::string line_;
};

void AppendPointLine(std::string& out, const TaggedFile& file, const TaggedPoint& p) {
  const std::string_view source = file.Line(p.line, p.length);
  if (!p.composed) {
    out += source;
    return;
  }
  const Words w = SplitWords(source);
  AppendUnsigned(out, p.flags);
  out += p.form == PointForm::Positioned ? " 0 " : " 1 ";
  AppendInt(out, p.id);
  out += ' ';
  switch (p.form) {
    case PointForm::Positioned:
      if (p.x_text == XText::Zero) {
        out += '0';
      } else if (p.x_text == XText::Negated) {
        AppendNegated(out, w.word[3]);
      } else {
        out += w.word[3];
      }
      out += ' ';
      out += w.From(source, 4);
      break;
    case PointForm::Attached:
      AppendInt(out, p.target);
      out += ' ';
      if (p.line_form == PointForm::Positioned) {
        out += w.From(source, 6);
      } else if (p.line_form == PointForm::Attached) {
        out += w.From(source, 4);
      } else {
        out += ". .";  // a hook's line has no bias
      }
      break;
    case PointForm::Hook:
      if (p.ratio_changed) {
        AppendProductReal(out, p.ratio);
      } else {
        out += w.word[3];
      }
      out += ' ';
      AppendInt(out, p.target);
      break;
  }
}

class Writer {
 public:
  Writer(const TaggedFile& file, LineWriter& lines) : file_(file), out_(lines) {}

  void Run() {
    CollectEdits();
    std::uint64_t pos = 0;
    for (const Edit& edit : edits_) {
      Raw(pos, edit.begin);
      Make(edit);
      pos = edit.end;
    }
    Raw(pos, file_.text.size());
  }

 private:
  void CollectEdits() {
    for (std::uint32_t m = 0; m < file_.models.size(); ++m) {
      const TaggedModel& model = file_.models[m];
      if (!model.docked) continue;
      bool twins = false;
      for (std::uint32_t s = 0; s < model.splines.size(); ++s) {
        const TaggedSpline& spline = model.splines[s];
        if (spline.lines_begin != kNoOffset)
          edits_.push_back({spline.lines_begin, spline.lines_end, Edit::Kind::Spline, m, s});
        else if (spline.count > 0)
          twins = true;
      }
      if (twins && model.splines_end != kNoOffset)
        edits_.push_back({model.splines_end, model.splines_end, Edit::Kind::NewSplines, m, 0});
      if (!model.new_patches.empty() && model.patches_closer != kNoOffset)
        edits_.push_back({model.patches_closer, model.patches_closer, Edit::Kind::Patches, m, 0});
      if (!model.new_normals.empty() && model.normals.closer != kNoOffset)
        edits_.push_back({model.normals.closer, model.normals.closer, Edit::Kind::Normals, m, 0});
      for (std::uint32_t l = 0; l < model.id_lists.size(); ++l) {
        const IdList& list = model.id_lists[l];
        if (!list.added.empty() && list.run.closer != kNoOffset)
          edits_.push_back({list.run.closer, list.run.closer, Edit::Kind::IdList, m, l});
      }
    }
    if (!edits_.empty() && file_.file_info_line != kNoOffset) {
      const std::uint64_t at = file_.file_info_pos_line;
      edits_.push_back({at, at + file_.file_info_pos_length, Edit::Kind::FileInfoPos, 0, 0});
    }
    std::stable_sort(edits_.begin(), edits_.end(),
                     [](const Edit& a, const Edit& b) { return a.begin < b.begin; });
  }

  void Raw(std::uint64_t begin, std::uint64_t end) {
    if (end <= begin) return;
    const std::uint64_t info = file_.file_info_line;
    if (info != kNoOffset && info >= begin && info < end) file_info_written_ = out_.Written() + (info - begin);
    out_.Bytes(std::string_view(file_.text.data() + begin, end - begin));
  }

  void Make(const Edit& edit) {
    const TaggedModel& model = file_.models[edit.model];
    const std::string_view eol = file_.eol;
    switch (edit.kind) {
      case Edit::Kind::Spline:
        Points(model, model.splines[edit.item]);
        break;
      case Edit::Kind::NewSplines:
        for (const TaggedSpline& spline : model.splines) {
          if (spline.lines_begin != kNoOffset || spline.count == 0) continue;
          out_.Text() += "<SPLINE>";
          out_.EndLine(eol);
          Points(model, spline);
          out_.Text() += "</SPLINE>";
          out_.EndLine(eol);
        }
        break;
      case Edit::Kind::Patches:
        for (const MirroredPatch& image : model.new_patches) Patch(model, image);
        break;
      case Edit::Kind::Normals:
        for (const std::uint32_t normal : model.new_normals) {
          const std::string_view source =
              file_.Line(model.normals.lines[normal], model.normals.lengths[normal]);
          const Words w = SplitWords(source);
          AppendNegated(out_.Text(), w.word[0]);
          if (w.count > 1) {
            out_.Text() += ' ';
            out_.Text() += w.From(source, 1);
          }
          out_.EndLine(eol);
        }
        break;
      case Edit::Kind::IdList: {
        const IdList& list = model.id_lists[edit.item];
        for (const auto& [line, id] : list.added) {
          AppendInt(out_.Text(), id);
          if (list.kind == IdList::Kind::WeightedBone) {
            const std::string_view source = file_.Line(list.run.lines[line], list.run.lengths[line]);
            out_.Text() += ' ';
            out_.Text() += SplitWords(source).From(source, 1);
          }
          out_.EndLine(eol);
        }
        break;
      }
      case Edit::Kind::FileInfoPos:
        out_.Text() += "FileInfoPos=";
        out_.Text() += std::to_string(file_info_written_);
        out_.EndLine({});
        break;
    }
  }

  void Points(const TaggedModel& model, const TaggedSpline& spline) {
    for (std::uint32_t k = 0; k < spline.count; ++k) {
      AppendPointLine(out_.Text(), file_, model.points[model.chain[spline.begin + k]]);
      out_.EndLine(file_.eol);
    }
  }

  void Patch(const TaggedModel& model, const MirroredPatch& image) {
    const TaggedPatch& patch = model.patches[image.source];
    const std::string_view source = file_.Line(patch.line, patch.length);
    const Words w = SplitWords(source);
    std::string& text = out_.Text();
    text += w.word[0];
    const std::uint32_t written = patch.corners == 5 ? 5 : 4;
    for (std::uint32_t c = 0; c < written; ++c) {
      text += ' ';
      AppendInt(text, image.id[c]);
    }
    for (std::uint32_t c = 0; c < written; ++c) {
      text += ' ';
      AppendUnsigned(text, image.normal[c]);
    }
    text += ' ';
    text += w.word[w.count - 1];
    out_.EndLine(file_.eol);
  }

  const TaggedFile& file_;
  Output out_;
  std::vector<Edit> edits_;
  std::uint64_t file_info_written_ = 0;
};

}  // namespace

void WriteTaggedFile(const TaggedFile& file, LineWriter& lines) { Writer(file, lines).Run(); }

}  // namespace mk::tagged
