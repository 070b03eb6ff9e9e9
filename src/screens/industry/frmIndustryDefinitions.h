#pragma once
// The definition of the selected industry, in the language in force when the window
// was loaded, under a heading with its code and title; it can be printed.

#include "screens/common/Screen.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

class frmIndustryDefinitions : public Screen {
    Q_OBJECT
public:
    frmIndustryDefinitions();

    void Form_Load() override;
    void subLoadCaptions() override;
    // The captions and the definition shown, in the new language.
    void followLanguage() override;
    QWidget* firstFocus() const override;

    // Shows the definition of the industry of code strNAICS, from the description table in force.
    void subFill(const QString& strNAICS);

    void cmdPrint_Click();
    void cmdContinue_Click();

    QLabel* lblNAICS;
    QPlainTextEdit* txtDefinition;
    QPushButton* cmdPrint;
    QPushButton* cmdContinue;

private:
    QString shownNaics_; // the code of the definition shown; null before the first
};

// Fills the definition window with the industry of code strNAICS from the description
// table in force and shows it, modeless, in front of its caller; a window already on
// the screen is refilled.
void subOpenIndustryDef(const QString& strNAICS);
