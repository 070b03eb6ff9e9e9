#include "cli/FirmFileProblems.h"

#include "cli/CommandErrors.h"

namespace cli {

FirmStatement readFirmFile(const QString& path, Language language) {
    const firmfile::ReadResult file = firmfile::read(path);
    if (file.problem == firmfile::Problem::Unreadable)
        throw UsageError{firmfile::fileProblem(file, path, language)};
    if (!file.ok()) throw Refused{firmfile::fileProblem(file, path, language)};
    return file.firm;
}

firmfile::ListResult readClientList(const QString& path, Language language) {
    firmfile::ListResult list = firmfile::readList(path);
    if (list.problem == firmfile::Problem::Unreadable)
        throw UsageError{firmfile::listProblem(list, path, language)};
    if (!list.ok()) throw Refused{firmfile::listProblem(list, path, language)};
    return list;
}

} // namespace cli
