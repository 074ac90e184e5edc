#include "shell/failure_report.h"

#include "assets/content_catalogue.h"
#include "platform/video.h"
#include "shell/entry.h"

#include <cstdio>
#include <filesystem>

namespace kavorind {

std::string contentFailureLine(const ContentFailure& failure, const std::string& folder) {
    std::string named = "Kavorind: \"" + failure.file + "\"";
    switch (failure.fault) {
    case ContentAbsent:
        return named + " is missing from " + folder + ". " + contentAdvice;
    case ContentDamaged:
        return named + " in " + folder + " cannot be read. " + contentAdvice;
    case ContentUnusable:
        return named + " in " + folder +
               " cannot be used: its animation rate is 0 or it has too few frames. " +
               contentAdvice;
    default:
        return "Kavorind: the game could not start: its display or its frame timer failed.";
    }
}

std::string noContentFolderLine(const std::vector<std::string>& searched) {
    std::string line = "Kavorind: no content folder found (looked for \"Pal.Pal\" in ";
    for (size_t i = 0; i < searched.size(); ++i)
        line += (i ? ", " : "") + searched[i];
    return line + "). " + contentAdvice;
}

std::string failureBoxText(const char* text, const std::string& englishLine) {
    if (englishLine.empty())
        return text;
    return englishLine + "\n\n" + text;
}

void reportFailure(const char* text, const std::string& englishLine) {
    std::fprintf(stderr, "Error: %s\n", text);
    if (!englishLine.empty())
        std::fprintf(stderr, "%s\n", englishLine.c_str());
    platformShowMessageBox("Error", failureBoxText(text, englishLine).c_str());
}

void reportContentFailure() {
    std::error_code problem;
    std::string folder = std::filesystem::current_path(problem).string();
    reportFailure(startUpFailureText, contentFailureLine(catalogue.failure, folder));
}

void reportGoingOnFailure() {
    if (catalogue.failure.fault != ContentFine) {
        reportContentFailure();
        return;
    }
    std::fprintf(stderr,
                 "Kavorind: the game could not go on: a scene could not start or a frame could "
                 "not be drawn.\n");
}

} // namespace kavorind
