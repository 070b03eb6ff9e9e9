#pragma once
// File > Office database…: where the firm records live. The user enters the address of
// a PostgreSQL server's database that the office's advisers share, tests it, and uses
// it, or goes back to the local file; the choice is kept in the user's settings. The
// password is never asked for here: the server's client library finds it.

#include "screens/common/Screen.h"

class QLabel;
class QLineEdit;
class QPushButton;

class frmOfficeDatabase : public Screen {
    Q_OBJECT
public:
    frmOfficeDatabase();

    void Form_Load() override;
    void Form_Activate(navigation::Arrival arrival) override;
    bool Form_QueryUnload() override;

    void subLoadCaptions() override;
    void cmdTest_Click();
    void cmdUse_Click();
    void cmdLocal_Click();
    void cmdCancel_Click();

    QLabel* lblExplain;
    QLabel* lblCurrent;
    QLineEdit* txtRecordsUrl;
    QPushButton* cmdTest;
    QPushButton* cmdUse;
    QPushButton* cmdLocal;
    QPushButton* cmdCancel;

private:
    void leave();
    void refreshFirmScreens();
};
