// pordex-import: loads files of fixed-length records (the form in which reference files such as
// the bank directory are supplied) into the program's data files, and writes them back out.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "data/file_layouts.h"
#include "platform/files/flat_file.h"

namespace {

using pordex::files::FileDesc;

const char* const kUsage =
    "Usage:\n"
    "  pordex-import [--dir FOLDER] [--append] [LABEL=]FLATFILE...\n"
    "  pordex-import [--dir FOLDER] --export LABEL FLATFILE\n"
    "\n"
    "Loads each FLATFILE (fixed-length records, as supplied) into its data file under FOLDER\n"
    "(default: the current folder): DATA/Bik.dat, DATA/Mco.dat, ... or PRP. The data file is\n"
    "named by LABEL (BIK, MCO, KSZ, BL2, PRP, KBP, POL, KNN, REW) or else by the FLATFILE's\n"
    "name (Bik.dat -> BIK). The content is replaced, or added to with --append; a file that\n"
    "does not fit the record length, or a record the keys refuse, loads nothing.\n"
    "--export writes the data file LABEL to FLATFILE in the same form.\n";

const FileDesc* const kFiles[] = {&pordex::rewFile(), &pordex::bl2File(), &pordex::kbpFile(),
                                  &pordex::knnFile(), &pordex::kszFile(), &pordex::mcoFile(),
                                  &pordex::polFile(), &pordex::bikFile(), &pordex::prpFile()};

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

const FileDesc* byLabel(const std::string& label) {
    for (const FileDesc* d : kFiles)
        if (upper(label) == d->label) return d;
    return nullptr;
}

// "Bik.dat" or "bik" names BIK; "PRP" names PRP.
const FileDesc* byFileName(const std::filesystem::path& p) {
    return byLabel(p.stem().string());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::filesystem::path folder;
    bool append = false, exporting = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (args[i] == "--dir" && i + 1 < args.size()) {
            folder = args[++i];
        } else if (args[i] == "--append") {
            append = true;
        } else if (args[i] == "--export") {
            exporting = true;
        } else if (args[i].rfind("--", 0) == 0) {
            std::fprintf(stderr, "pordex-import: unknown option %s\n\n%s", args[i].c_str(), kUsage);
            return 2;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.empty() || (exporting && (files.size() != 2 || append))) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // Flat file paths are taken relative to where the tool was started.
    const std::filesystem::path started = std::filesystem::current_path();
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::current_path(folder, ec);
        if (ec) {
            std::fprintf(stderr, "pordex-import: folder %s: %s\n", folder.c_str(),
                         ec.message().c_str());
            return 1;
        }
    }

    if (exporting) {
        const FileDesc* d = byLabel(files[0]);
        if (!d) {
            std::fprintf(stderr, "pordex-import: no data file is labelled %s\n", files[0].c_str());
            return 2;
        }
        pordex::files::RecordFile file(*d);
        const auto r = pordex::files::exportFlat(file, started / files[1]);
        if (!r.ok) {
            std::fprintf(stderr, "pordex-import: %s\n", r.message.c_str());
            return 1;
        }
        std::printf("%s: %zu records written to %s\n", std::string(d->path).c_str(), r.records,
                    files[1].c_str());
        return 0;
    }

    int failures = 0;
    for (const std::string& arg : files) {
        const auto eq = arg.find('=');
        const std::filesystem::path flat =
            started / (eq == std::string::npos ? arg : arg.substr(eq + 1));
        const FileDesc* d = eq == std::string::npos ? byFileName(flat) : byLabel(arg.substr(0, eq));
        if (!d) {
            std::fprintf(
                stderr,
                "pordex-import: %s: cannot tell which data file it is for; write LABEL=%s\n",
                arg.c_str(), arg.c_str());
            ++failures;
            continue;
        }
        std::error_code ec;
        if (std::filesystem::equivalent(flat, std::string(d->path), ec)) {
            std::fprintf(stderr,
                         "pordex-import: %s is the data file itself; load it from another folder\n",
                         flat.c_str());
            ++failures;
            continue;
        }
        pordex::files::RecordFile file(*d);
        const auto r = pordex::files::importFlat(
            file, flat,
            append ? pordex::files::FlatMode::Append : pordex::files::FlatMode::Replace);
        if (!r.ok) {
            std::fprintf(stderr, "pordex-import: %s\n", r.message.c_str());
            ++failures;
            continue;
        }
        std::printf("%s: %zu records loaded from %s\n", std::string(d->path).c_str(), r.records,
                    arg.c_str());
    }
    return failures ? 1 : 0;
}
