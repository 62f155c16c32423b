#include "cli_qt/command_render.h"

#include <QGuiApplication>
#include <charconv>
#include <cmath>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>

#include "cli/error_message.h"
#include "diagram/diagram_layout.h"
#include "diagram_qt/diagram_picture.h"
#include "refresh/refresh_core.h"

namespace {

constexpr const char* kUsage =
    "render FILE -o OUT.(png|svg|pdf) [--structure-only] [--no-parse] [--interpretation N] [--scale S]";
constexpr double kLargestScale = 16.0;

struct TRenderRequest {
  std::string Input, Output;
  bool StructureOnly = false;
  bool NoParse = false;
  size_t Interpretation = 1;  // 1-based
  double Scale = 1.0;
};

// Reads the arguments; on a usage error gives nothing and says why.
std::optional<TRenderRequest> ReadRequest(const std::vector<std::string>& arguments, std::string& problem) {
  TRenderRequest request;
  std::vector<std::string> positional;
  bool haveOutput = false, optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!isOption) {
      positional.push_back(argument);
    } else if (argument == "--structure-only") {
      request.StructureOnly = true;
    } else if (argument == "--no-parse") {
      request.NoParse = true;
    } else if (argument == "-o" || argument == "--interpretation" || argument == "--scale") {
      if (i + 1 >= arguments.size()) {
        problem = argument + " needs a value";
        return std::nullopt;
      }
      const std::string& value = arguments[++i];
      if (argument == "-o") {
        request.Output = value;
        haveOutput = true;
      } else if (argument == "--interpretation") {
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), request.Interpretation);
        if (error != std::errc() || end != value.data() + value.size() || request.Interpretation == 0) {
          problem = "--interpretation takes a number from 1";
          return std::nullopt;
        }
      } else {
        size_t used = 0;
        try {
          request.Scale = std::stod(value, &used);
        } catch (const std::exception&) {
          used = 0;
        }
        if (used != value.size() || !std::isfinite(request.Scale) || request.Scale <= 0 ||
            request.Scale > kLargestScale) {
          problem = "--scale takes a number above 0 and up to 16";
          return std::nullopt;
        }
      }
    } else {
      problem = "unknown option " + argument;
      return std::nullopt;
    }
  }
  if (positional.size() != 1) {
    problem = "wrong number of arguments";
    return std::nullopt;
  }
  if (!haveOutput) {
    problem = "no output file (-o OUT.png, OUT.svg or OUT.pdf)";
    return std::nullopt;
  }
  request.Input = positional.front();
  return request;
}

// A display-less platform unless the caller chose one or a display exists.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "korvel";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

// Keeps Qt's notes about the environment (no runtime directory, a painter
// that could not start) out of korvel's error output, which says itself
// what went wrong.
class TQuietQt {
 public:
  TQuietQt() : previous_(qInstallMessageHandler(Drop)) {}
  ~TQuietQt() { qInstallMessageHandler(previous_); }
  TQuietQt(const TQuietQt&) = delete;
  TQuietQt& operator=(const TQuietQt&) = delete;

 private:
  static void Drop(QtMsgType, const QMessageLogContext&, const QString&) {}
  QtMessageHandler previous_;
};

}  // namespace

int RunRender(const TCommandLine& line, std::ostream&, std::ostream& err) {
  std::string problem;
  const std::optional<TRenderRequest> request = ReadRequest(line.Arguments, problem);
  if (!request) {
    PrintError(err, "render: " + PrintableName(problem));
    err << "Usage: korvel " << kUsage << "\n";
    return kExitUsage;
  }
  const QString output = QString::fromStdString(request->Output);
  const std::optional<TPictureFormat> format = PictureFormatOfPath(output);
  if (!format) {
    PrintError(err, "render: " + ShownFileName(request->Output) +
                         ": the picture's name must end in .png, .svg or .pdf");
    return kExitUsage;
  }
  auto loaded = LoadTheoryFile(request->Input, err);
  if (!loaded) return kExitUnreadable;

  const TQuietQt quiet;
  const std::unique_ptr<QGuiApplication> application = EnsureGuiApplication();
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    PrintError(err, "render: no graphics available");
    return kExitUnreadable;
  }
  const QFont font = QGuiApplication::font();
  TRefreshOptions options;
  options.ParseSentences = !request->NoParse;
  options.ShowStructureOnly = request->StructureOnly;

  // The same steps as the window: the refresh lays out at its diagram step;
  // another interpretation is marked afterwards and laid out again.
  TDrawContext context;
  MeasureTextWith(context, font);
  auto layout = [&](TKorvelTheory& theory, const TListOfKorvelSentences& allSentences) {
    InitDiagramMetrics(context.Metrics);
    context.StructureOnly = options.ShowStructureOnly;
    context.ShowDialecticalNegations = options.ShowDialecticalNegations;
    context.Theory = &theory;
    DrawArguments(context, allSentences, 0, 0);
  };
  TRefreshResult result = Refresh({std::move(*loaded), options, layout});
  if (request->Interpretation > 1) {
    if (request->Interpretation > result.Interpretations.size()) {
      PrintError(err, "render: " + ShownFileName(request->Input) + " has " +
                          std::to_string(result.Interpretations.size()) + " interpretation(s)");
      return kExitUsage;
    }
    MarkShownInterpretation(result.Theory, result.Interpretations, request->Interpretation - 1,
                            result.AllSentences);
    layout(result.Theory, result.AllSentences);
  }
  context.Theory = nullptr;

  TPicture picture;
  picture.Drawing = &context.Drawing;
  picture.Font = font;
  picture.Area = WholeDrawingArea(context.Drawing, context.Metrics);
  picture.Scale = request->Scale;
  QString error;
  if (!WritePicture(output, *format, picture, error)) {
    // The message names the picture's file; show that name as every message does.
    std::string message = error.toStdString();
    const size_t at = message.find(request->Output);
    if (at != std::string::npos)
      message.replace(at, request->Output.size(), ShownFileName(request->Output));
    PrintError(err, message);
    return kExitUnreadable;
  }
  return kExitOk;
}

void RegisterRenderCommand() {
  RegisterSubcommand({"render", kUsage, {"-o", "--structure-only", "--no-parse", "--interpretation", "--scale"},
                      kOwnArguments, RunRender});
}
