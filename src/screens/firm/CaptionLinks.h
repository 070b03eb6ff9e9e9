#pragma once
// The caption labels of the firm values screen as help links: each shows a pointing
// hand and, when clicked, the definition of its line item in the current language,
// in an information box titled with the definition's title. One handler serves every
// label; which label has which definition is the definitions file's.

#include <QObject>

class QLabel;

class CaptionLinks : public QObject {
    Q_OBJECT
public:
    explicit CaptionLinks(QObject* parent);

    // Makes the label a link to the definition of its program name ("lblCash").
    void link(QLabel* captionLabel);

    // Shows the definition of a caption label; nothing for a label that has none.
    static void showDefinition(const QString& captionLabel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
