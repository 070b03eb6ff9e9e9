#pragma once
// The industry tree of the sample database: sector folders and six-digit NAICS
// industries, read from the two data files compiled into the tool.

#include <QString>
#include <vector>

namespace sampledata {

// The folder whose industries are left out of the Raw description table and of
// every volume 2 and volume 3 dataset.
inline constexpr const char* kFinanceFolder = "IndTFINANC";

struct Folder {
    QString key;
    QString parent; // empty for a top-level folder
    QString titleE;
    QString titleF;
    QString profile; // resolved: inherited from the nearest ancestor that names one
    int sequence = 0;
};

struct Industry {
    QString naics;
    QString folder;
    QString titleE;
    QString titleF;
    QString definitionE; // empty when the data file gives none (stored as NULL)
    QString definitionF;
    QString profile;
    bool finance = false;
    int sequence = 0;

    QString nodeKey() const { return QStringLiteral("Ind") + naics; }
};

class Catalogue {
public:
    // Parses and checks both files; throws std::runtime_error naming the file and
    // line of the first problem.
    static Catalogue parse(const QByteArray& foldersText, const QByteArray& industriesText);
    // The files compiled into the tool.
    static Catalogue fromResources();

    const std::vector<Folder>& folders() const { return folders_; }
    const std::vector<Industry>& industries() const { return industries_; }

private:
    void resolve();

    std::vector<Folder> folders_;
    std::vector<Industry> industries_;
};

// "\n" in a definition marks a paragraph break, stored as CR LF.
QString expandParagraphs(const QString& text);

} // namespace sampledata
