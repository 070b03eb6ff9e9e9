#pragma once
// The first window: the working language, the reference years and the terms of use.

#include "screens/common/Screen.h"

class QPushButton;
class QLabel;

class frmStart : public Screen {
    Q_OBJECT
public:
    frmStart();

    void Form_Load() override;
    bool Form_QueryUnload() override;
    bool discardOnClose() const override { return false; }
    QWidget* firstFocus() const override;

    void cmdEnglish_Click();
    void cmdFrancais_Click();
    void lblLicenseAgreementE_Click();
    void lblLicenseAgreementF_Click();

    QPushButton* cmdFrancais;
    QPushButton* cmdEnglish;
    QLabel* Picture3;
    QLabel* Picture1;
    QLabel* lblLicenseAgreementF;
    QLabel* lblLicenseAgreementE;
    QLabel* lblReferenceYrs;

private:
    void chooseLanguage(int16_t language);
};
