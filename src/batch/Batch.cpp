// zelkova-batch: the dispatcher and its usage text.
#include "batch/Commands.h"

#include <string_view>

namespace zelkova::batch {

namespace {
constexpr std::string_view kUsage =
    "usage: zelkova-batch COMMAND [ARGS]\n"
    "\n"
    "Runs Zelkova's engines without windows. Messages go to standard error in UTF-8;\n"
    "the exit status is 0 on success, 1 when the work stopped with a message, 2 on a usage error.\n"
    "\n"
    "commands:\n"
    "  run RUNFILE                 run a run file as the editor's run command does\n"
    "  pages LISTING [--chars K] [--lines L]\n"
    "                              the listing page of every line, then 'pages: N'\n"
    "  listing LISTING -o OUT.pdf [--title T] [--chars K] [--lines L] [--start S]\n"
    "          [--first F] [--last T] [--copies C] [--font-size PT]\n"
    "                              print a listing into a PDF file\n"
    "  render PLOT -o OUT.png|OUT.svg|OUT.pdf|OUT.bmp|OUT.emf [--figure N] [--scale N]\n"
    "         [--all-layers] [--mono] [--size WxH] [--pen N=COLOUR] [--pen-width N=TEXT]\n"
    "         [--view L,T,R,B] [--nav STEPS [--move-step F] [--zoom-step Z]]\n"
    "         [--selection X1,Y1,X2,Y2 | --whole] [--dump]\n"
    "                              draw one figure of a plot file\n"
    "  --help                      this text\n"
    "  --version                   the version of Zelkova\n";
} // namespace

int runBatchWith(const Arguments& args, std::ostream& out, std::ostream& err, DrawingRunner drawing) {
    if (args.empty()) {
        err << kUsage;
        return 2;
    }
    const std::string& command = args.front();
    const Arguments rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsage;
        return 0;
    }
    if (command == "--version") {
        out << "zelkova-batch " ZELKOVA_VERSION "\n";
        return 0;
    }
    if (command == "run")
        return runCommand(rest, out, err);
    if (command == "pages")
        return pagesCommand(rest, out, err);
    if (command == "listing" || command == "render")
        return drawing(command, rest, out, err);
    err << "zelkova-batch: unknown command '" << command << "'\n" << kUsage;
    return 2;
}

} // namespace zelkova::batch
