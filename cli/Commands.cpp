#include "cli/Commands.h"

#include <memory>
#include <optional>

#include "cli/StandardStreams.h"
#include "core/util/Errors.h"
#include "core/util/FileIo.h"
#include "core/util/LineList.h"
#include "core/util/NumberText.h"
#include "core/document/Warnings.h"
#include "core/workflow/ErrorPlace.h"
#include "core/workflow/ReportJson.h"
#include "core/workflow/Workflow.h"

#ifdef MK_WITH_RENDER
#include "render/RenderImage.h"
#elif defined(MK_RENDER_BY_DRAWING_PROGRAM)
#include "cli/DrawingProgram.h"
#endif

namespace mk::cli {
namespace {

bool exiting_after_run = false;

/// Frees the document, or, when the process is about to end anyway, keeps it reachable until
/// then (a leak checker sees it through this list) and lets the system take the memory back.
void Dispose(std::unique_ptr<Document> document) {
  if (!exiting_after_run) return;
  static auto* kept = new std::vector<std::unique_ptr<Document>>;
  kept->push_back(std::move(document));
}

constexpr const char* kMainHelp =
    "Usage: mirrorknit-cli COMMAND [OPTIONS]\n"
    "Mirror half models (.mdl, .seg) across the plane X=0 and dock the two halves.\n"
    "\n"
    "Commands:\n"
    "  dock       dock model files and write the whole models\n"
    "  check      dock a model file in memory and tell what the docking would do\n"
    "  roundtrip  read a model file and write it back without docking\n"
    "  render     dock a model file and draw a view of it into a PNG image\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help, or a command's help after the command\n"
    "  -V, --version  show the version\n"
    "\n"
    "INPUT \"-\" reads the model from standard input; \"-o -\" writes it to standard output.\n"
    "\"--\" ends the options: every word after it is an INPUT.\n"
    "Exit status: 0 success, 1 an error (or, for check, seam faults), 2 a usage error,\n"
    "3 a file that could not be read (check only).\n";

constexpr const char* kRoundTripHelp =
    "Usage: mirrorknit-cli roundtrip INPUT -o OUTPUT\n"
    "Read INPUT and write it to OUTPUT without docking, exactly as the program saves an\n"
    "undocked document.\n";

constexpr const char* kDockHelp =
    "Usage: mirrorknit-cli dock INPUT... [-o OUTPUT | --in-place] [-t TOLERANCE]\n"
    "                           [--report FILE] [--force]\n"
    "Dock every INPUT and print its two statistics lines.\n"
    "\n"
    "  -o, --output FILE     write the docked model of the one INPUT to FILE (\"-\": to\n"
    "                        stdout; the statistics lines then go to stderr)\n"
    "  -i, --in-place        write each docked model over its INPUT, after copying INPUT\n"
    "                        to INPUT.bak\n"
    "  -t, --tolerance TOL   points nearer the plane X=0 than TOL snap onto it\n"
    "                        (default 0.4; \".\" as decimal separator)\n"
    "  --report FILE         write the dock report of the one INPUT to FILE as JSON\n"
    "                        (see docs/report-json.md); \"-\" writes it to stdout, and the\n"
    "                        statistics lines then go to stderr\n"
    "  --force               dock an INPUT that looks docked already (by default it is\n"
    "                        refused: docking it again would double its mirrored half)\n"
    "\n"
    "Without -o or --in-place nothing is written but attach_err.txt (and the report).\n"
    "Example: mirrorknit-cli dock --in-place models/*.mdl\n";

constexpr const char* kCheckHelp =
    "Usage: mirrorknit-cli check INPUT [-t TOLERANCE]\n"
    "Dock INPUT in memory and print what the docking would do: the points snapped onto the\n"
    "plane, the near misses (points and spline ends that lie TOLERANCE to 3 x TOLERANCE from\n"
    "the plane and will leave a gap at the seam), the fate of the splines, the hooks and plane\n"
    "copies corrected, the attachments that find no target or lead round in a cycle, a\n"
    "suggested tolerance, and the two statistics lines. No model is written; attach_err.txt\n"
    "is, as by dock.\n"
    "\n"
    "  -t, --tolerance TOL   docking tolerance (default 0.4)\n"
    "\n"
    "Exit status: 0 when there is no near miss and no unresolved attachment, 1 when there\n"
    "is one, 2 on a usage error, 3 when INPUT could not be read.\n";

constexpr const char* kRenderHelp =
    "Usage: mirrorknit-cli render INPUT -o OUTPUT.png [OPTIONS]\n"
    "Dock INPUT and draw the docked view as the program shows it.\n"
    "\n"
    "  -o, --output FILE     the PNG image to write\n"
    "  --view front|left|top the direction of the view (default front)\n"
    "  --size WxH            the image size in pixels (default 400x300)\n"
    "  --ids                 write every control point's id beside it\n"
    "  --source              draw the model as read instead of the docked model\n"
    "  -t, --tolerance TOL   docking tolerance (default 0.4)\n";

bool IsHelp(const std::string& arg) { return arg == "-h" || arg == "--help"; }

/// Writes the help when arg asks for it; the command then ends there, successfully.
bool AnsweredHelp(const std::string& arg, const char* help, std::ostream& out) {
  if (!IsHelp(arg)) return false;
  out << help;
  return true;
}

struct UsageError {
  std::string message;
};

/// Takes the value of an option at args[i] (either "--opt value" or "--opt=value").
std::string OptionValue(const std::vector<std::string>& args, std::size_t& i) {
  const std::string& arg = args[i];
  const std::size_t eq = arg.find('=');
  if (arg.rfind("--", 0) == 0 && eq != std::string::npos) return arg.substr(eq + 1);
  if (i + 1 >= args.size()) throw UsageError{"option " + arg + " needs a value"};
  return args[++i];
}

/// For a word that matched none of the command's options: one that looks like an option (any
/// word starting with '-' but "-" itself) is unknown.
void RefuseUnknownOption(const std::string& arg) {
  if (!arg.empty() && arg[0] == '-' && arg != "-") throw UsageError{"unknown option " + arg};
}

/// For a command that takes one INPUT: a word that is no option of its own (any word after "--").
void TakeTheInput(const std::string& arg, const char* command, std::string& input,
                  bool after_options = false) {
  if (!after_options) RefuseUnknownOption(arg);
  if (!input.empty()) throw UsageError{std::string(command) + " takes one INPUT"};
  input = arg;
}

/// Walks a command's words: "--" ends the options, and every word after it is an INPUT even when
/// it starts with "-".
class Words {
 public:
  explicit Words(const std::vector<std::string>& args) : args_(args) {}
  /// Moves to the next word; false at the end.
  bool Next() {
    while (++i_ < args_.size()) {
      if (!options_ended_ && args_[i_] == "--") {
        options_ended_ = true;
        continue;
      }
      return true;
    }
    return false;
  }
  const std::string& Word() const { return args_[i_]; }
  bool IsInput() const { return options_ended_; }
  std::size_t& Index() { return i_; }

 private:
  const std::vector<std::string>& args_;
  std::size_t i_ = static_cast<std::size_t>(-1);
  bool options_ended_ = false;
};

/// An INPUT of "-" is standard input, copied to a temporary file for the time of the command.
class InputFile {
 public:
  explicit InputFile(const std::string& name) : name_(name) {
    if (name == "-") {
      copy_.emplace();
      name_ = copy_->Name();
    }
  }
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  std::optional<StandardInputFile> copy_;
};

bool Matches(const std::string& arg, const char* short_name, const char* long_name) {
  if (arg == short_name || arg == long_name) return true;
  const std::string prefix = std::string(long_name) + "=";
  return arg.rfind(prefix, 0) == 0;
}

int ReportUsage(const UsageError& e, const char* help, std::ostream& err) {
  err << "mirrorknit-cli: " << e.message << "\n" << help;
  return kExitUsage;
}

/// Runs a command's body and turns what it throws into what the user sees: a usage error with
/// the command's help, any other error of the program with its message, each with its status.
template <typename Body>
int RunReportingErrors(const char* help, std::ostream& err, Body&& body) {
  try {
    return body();
  } catch (const UsageError& e) {
    return ReportUsage(e, help, err);
  } catch (const Error& e) {
    err << "mirrorknit-cli: " << e.what() << "\n";
    return kExitError;
  }
}

void PrintWarnings(const WarningList& warnings, std::ostream& err) {
  for (const DockWarning& w : warnings.warnings) err << w.Message(Language::English) << "\n";
}

double ParseTolerance(const std::string& text) {
  try {
    return StrToFloat(text);
  } catch (const ConversionError&) {
    throw UsageError{"the tolerance '" + text + "' is not a number"};
  }
}

/// The file's kind; a name that is neither ".mdl" nor ".seg" is a usage error.
FileKind KindOf(const std::string& file_name) {
  const FileKind kind = FileKindOf(file_name);
  if (kind == FileKind::Other)
    throw UsageError{file_name + ": the file name's extension is neither .mdl nor .seg"};
  return kind;
}

}  // namespace

void SetExitingAfterRun(bool exiting) { exiting_after_run = exiting; }

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kMainHelp;
    return kExitUsage;
  }
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (AnsweredHelp(command, kMainHelp, out)) return kExitOk;
  if (command == "-V" || command == "--version") {
    out << "mirrorknit-cli " << MK_VERSION << "\n";
    return kExitOk;
  }
  if (command == "roundtrip") return RoundTrip(rest, out, err);
  if (command == "dock") return Dock(rest, out, err);
  if (command == "check") return Check(rest, out, err);
  if (command == "render") return Render(rest, out, err);
  err << "mirrorknit-cli: unknown command '" << command << "'\n" << kMainHelp;
  return kExitUsage;
}

int RoundTrip(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunReportingErrors(kRoundTripHelp, err, [&] {
    std::string input, output;
    for (Words words(args); words.Next();) {
      const std::string& arg = words.Word();
      if (words.IsInput()) {
        TakeTheInput(arg, "roundtrip", input, true);
      } else if (AnsweredHelp(arg, kRoundTripHelp, out)) {
        return kExitOk;
      } else if (Matches(arg, "-o", "--output")) {
        output = OptionValue(args, words.Index());
      } else {
        TakeTheInput(arg, "roundtrip", input);
      }
    }
    if (input.empty() || output.empty()) throw UsageError{"roundtrip needs INPUT and -o OUTPUT"};
    const InputFile file(input);
    WarningList warnings;
    auto document =
        ReadModel(file.Name(), KindOf(file.Name()), nullptr, &warnings, WithReference::No).working;
    PrintWarnings(warnings, err);
    if (output == "-")
      WriteDocumentTo(*document, out);
    else
      WriteDocument(*document, file.Name(), output);
    Dispose(std::move(document));
    return kExitOk;
  });
}

int Dock(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> inputs;
  std::string output;
  std::string report;
  bool in_place = false;
  bool force = false;
  double tolerance = 0.4;
  try {
    for (Words words(args); words.Next();) {
      const std::string& arg = words.Word();
      std::size_t& i = words.Index();
      if (words.IsInput()) {
        inputs.push_back(arg);
      } else if (AnsweredHelp(arg, kDockHelp, out)) {
        return kExitOk;
      } else if (Matches(arg, "-o", "--output")) {
        output = OptionValue(args, i);
      } else if (Matches(arg, "-t", "--tolerance")) {
        tolerance = ParseTolerance(OptionValue(args, i));
      } else if (arg == "-i" || arg == "--in-place") {
        in_place = true;
      } else if (Matches(arg, "--report", "--report")) {
        report = OptionValue(args, i);
        if (report.empty()) throw UsageError{"--report needs a file name or -"};
      } else if (arg == "--force") {
        force = true;
      } else {
        RefuseUnknownOption(arg);
        inputs.push_back(arg);
      }
    }
    if (inputs.empty()) throw UsageError{"dock needs at least one INPUT"};
    if (in_place && !output.empty()) throw UsageError{"-o and --in-place exclude each other"};
    if (!output.empty() && inputs.size() > 1) throw UsageError{"-o takes exactly one INPUT"};
    if (!report.empty() && inputs.size() > 1) throw UsageError{"--report takes exactly one INPUT"};
    if (output == "-" && report == "-") throw UsageError{"-o - and --report - both want stdout"};
    for (const std::string& input : inputs)
      if (input == "-" && (in_place || inputs.size() > 1))
        throw UsageError{"standard input (-) is one INPUT, and cannot be written in place"};
  } catch (const UsageError& e) {
    return ReportUsage(e, kDockHelp, err);
  }
  // With the report or the model on stdout, everything else goes to stderr so that it stays whole.
  std::ostream& lines = report == "-" || output == "-" ? err : out;
  DockOptions options;
  options.with_report = !report.empty();

  int status = kExitOk;
  for (const std::string& input : inputs) {
    const bool last = &input == &inputs.back();
    try {
      WarningList warnings;
      DockedLook refused;
      options.ask_before_redocking = [force, &refused](const DockedLook& look) {
        refused = look;
        return force;
      };
      const InputFile file(input);
      OpenedModel model = ReadAndDock(file.Name(), KindOf(file.Name()), tolerance, nullptr,
                                      &warnings, WithReference::No, options);
      auto& document = model.working;
      PrintWarnings(warnings, err);
      if (!model.docked) {
        err << "mirrorknit-cli: " << input << ": the model looks docked already ("
            << refused.reason << "); docking it again would double its mirrored half, "
            << "nothing written (--force docks it anyway)\n";
        status = kExitError;
        continue;
      }
      // Docking a docked model again (--force) must not copy it over the half model that an
      // earlier run kept in the backup.
      if (in_place)
        WriteDocument(*document, input, input,
                      refused.looks_docked ? Backup::KeepExisting : Backup::Take);
      if (output == "-")
        WriteDocumentTo(*document, out);
      else if (!output.empty())
        WriteDocument(*document, file.Name(), output);
      if (report == "-") {
        WriteReportJson(model.report, [&out](std::string_view piece) {
          out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        });
      } else if (!report.empty()) {
        WriteFileAtomically(report, [&model](const ByteSink& sink) {
          WriteReportJson(model.report, sink);
        });
      }
      if (inputs.size() > 1) lines << input << ":\n";
      for (const std::string& line : StatisticsLines(model.statistics)) lines << line << "\n";
      if (last) Dispose(std::move(document));
    } catch (const UsageError& e) {
      err << "mirrorknit-cli: " << e.message << "\n";
      status = kExitError;
    } catch (const Error& e) {
      err << "mirrorknit-cli: " << PlacedMessage(input, e) << "\n";
      status = kExitError;
    }
  }
  return status;
}

int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string input;
  double tolerance = 0.4;
  try {
    for (Words words(args); words.Next();) {
      const std::string& arg = words.Word();
      if (words.IsInput()) {
        TakeTheInput(arg, "check", input, true);
      } else if (AnsweredHelp(arg, kCheckHelp, out)) {
        return kExitOk;
      } else if (Matches(arg, "-t", "--tolerance")) {
        tolerance = ParseTolerance(OptionValue(args, words.Index()));
      } else {
        TakeTheInput(arg, "check", input);
      }
    }
    if (input.empty()) throw UsageError{"check needs an INPUT"};
  } catch (const UsageError& e) {
    return ReportUsage(e, kCheckHelp, err);
  }
  // A file that cannot be read is told apart from one with seam faults.
  try {
    const InputFile file(input);
    WarningList warnings;
    DockOptions options;
    options.with_report = true;
    DockedLook docked_look;
    // The check docks anyway: what a second docking would do is part of the answer.
    options.ask_before_redocking = [&docked_look](const DockedLook& look) {
      docked_look = look;
      return true;
    };
    OpenedModel model = ReadAndDock(file.Name(), KindOf(file.Name()), tolerance, nullptr, &warnings,
                                    WithReference::No, options);
    PrintWarnings(warnings, err);
    out << input << "\n";
    if (docked_look.looks_docked)
      out << "Looks docked already: " << docked_look.reason
          << "; docking it again would double its mirrored half\n";
    out << ReportSummary(model.report);
    for (const std::string& line : StatisticsLines(model.statistics)) out << line << "\n";
    const bool faults = model.report.HasSeamFaults();
    Dispose(std::move(model.working));
    return faults ? kExitError : kExitOk;
  } catch (const UsageError& e) {
    return ReportUsage(e, kCheckHelp, err);
  } catch (const Error& e) {
    err << "mirrorknit-cli: " << PlacedMessage(input, e) << "\n";
    return kExitUnreadable;
  }
}

int Render(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  for (const std::string& arg : args) {
    if (AnsweredHelp(arg, kRenderHelp, out)) return kExitOk;
  }
#ifdef MK_WITH_RENDER
  return RunReportingErrors(kRenderHelp, err, [&] {
    std::string input, output;
    RenderOptions options;
    double tolerance = 0.4;
    for (Words words(args); words.Next();) {
      const std::string& arg = words.Word();
      std::size_t& i = words.Index();
      if (words.IsInput()) {
        TakeTheInput(arg, "render", input, true);
      } else if (Matches(arg, "-o", "--output")) {
        output = OptionValue(args, i);
      } else if (Matches(arg, "-t", "--tolerance")) {
        tolerance = ParseTolerance(OptionValue(args, i));
      } else if (Matches(arg, "--view", "--view")) {
        const std::string view = OptionValue(args, i);
        if (view == "front") options.direction = 0;
        else if (view == "left") options.direction = 1;
        else if (view == "top") options.direction = 2;
        else throw UsageError{"--view takes front, left or top"};
      } else if (Matches(arg, "--size", "--size")) {
        const std::string size = OptionValue(args, i);
        const std::size_t x = size.find('x');
        try {
          if (x == std::string::npos) throw ConversionError(ConversionError::Kind::Integer, size);
          options.width = StrToInt(size.substr(0, x));
          options.height = StrToInt(size.substr(x + 1));
        } catch (const ConversionError&) {
          throw UsageError{"--size takes WIDTHxHEIGHT, such as 400x300"};
        }
        if (options.width < 1 || options.height < 1 || options.width > 16384 ||
            options.height > 16384)
          throw UsageError{"--size takes 1 to 16384 pixels each way"};
      } else if (arg == "--ids") {
        options.ids = true;
      } else if (arg == "--source") {
        options.source = true;
      } else {
        TakeTheInput(arg, "render", input);
      }
    }
    if (input.empty() || output.empty()) throw UsageError{"render needs INPUT and -o OUTPUT.png"};
    WarningList warnings;
    const InputFile file(input);
    const OpenedModel model = ReadAndDock(file.Name(), KindOf(file.Name()), tolerance, nullptr,
                                          &warnings, WithReference::Yes);
    PrintWarnings(warnings, err);
    RenderDocumentToPng(*model.working, options.source ? *model.reference : *model.working,
                        options, output);
    return kExitOk;
  });
#elif defined(MK_RENDER_BY_DRAWING_PROGRAM)
  return RunDrawingProgram(args, out, err);
#else
  (void)args;
  (void)out;
  err << "mirrorknit-cli: render needs the Qt build\n";
  return kExitError;
#endif
}

}  // namespace mk::cli
