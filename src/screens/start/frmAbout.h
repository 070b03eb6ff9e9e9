#pragma once
// The About screen: title, version, the publisher's contact lines, the sample-data note and the
// licence.

#include "screens/common/Screen.h"

class QLabel;
class QPushButton;

class frmAbout : public Screen {
    Q_OBJECT
public:
    frmAbout();

    void Form_Load() override;
    void Form_Activate(navigation::Arrival arrival) override;
    bool Form_QueryUnload() override;
    QWidget* firstFocus() const override;

    void subLoadCaptions() override;
    void cmdReturn_Click();

    QPushButton* cmdReturn;
    QLabel* lblFax;
    QLabel* lblEmail;
    QLabel* lblTechnical;
    QLabel* lblSubjectMatter;
    QLabel* lblProv;
    QLabel* lblBuilding;
    QLabel* lblStreet;
    QLabel* lblStats;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblProvenance;
    QLabel* lblRecords; // where the firm records are: the local file or a server's database
    QLabel* lblLicence; // the program's free-software licence
};
