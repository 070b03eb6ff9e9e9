#pragma once
// The firm values screen as the user reaches it, for the screen tests: a private copy
// of the sample databases, the scripted platform, Nova Scotia chosen on the main menu,
// an industry with figures in all three years selected on the industry selection
// screen, then the firm values screen shown and active.

#include "screens/common/ScreenRegistry.h"
#include "screens/firm/frmMyValues.h"
#include "screens/industry/frmSearch.h"
#include "screens/start/frmMenu.h"
#include "state/modMain.h"
#include "support/RecordingPlatform.h"
#include "support/SampleData.h"
#include "support/TestDatabases.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QtTest>

class FirmScreenFixture {
public:
    FirmScreenFixture() {
        registry.setModalBlocking(false);
        dbs.open();
    }
    ~FirmScreenFixture() { registry.clear(); }
    FirmScreenFixture(const FirmScreenFixture&) = delete;
    FirmScreenFixture& operator=(const FirmScreenFixture&) = delete;

    // Chooses Nova Scotia on the main menu and selects an industry by its code on the
    // industry selection screen (the first complete one when none is given).
    QString chooseIndustry(int16_t language = 0, QString naics = QString()) {
        modMain::gintLanguage = language;
        frmMenu& menu = registry.get<frmMenu>();
        menu.subLoadCaptions();
        menu.option(QStringLiteral("optNovaScotia"))->setChecked(true);
        if (!menu.fncDetermineDataset()) qWarning("no dataset chosen");
        if (naics.isEmpty()) naics = completeIndustry(modMain::gcnData, QStringLiteral("NS"));
        frmSearch& search = registry.get<frmSearch>();
        registry.show(search);
        search.optNAICScode->click();
        search.cboNAICScodes->setCurrentIndex(search.cboNAICScodes->findText(naics));
        search.cboNAICScodes_Click();
        return naics;
    }

    // Leaves the industry selection for the firm values screen, as "Enter new data" does.
    frmMyValues& showFirmScreen() {
        frmMyValues& screen = registry.get<frmMyValues>();
        registry.move(registry.get<frmSearch>(), screen, navigation::Move::EnterNewData);
        if (!QTest::qWaitForWindowActive(&screen)) qWarning("the firm values screen did not become active");
        return screen;
    }

    frmMyValues& open(int16_t language = 0) {
        naics = chooseIndustry(language);
        return showFirmScreen();
    }

    frmSearch& search() { return registry.get<frmSearch>(); }
    frmMyValues& screen() { return registry.get<frmMyValues>(); }

    QLineEdit* box(const char* name) {
        QLineEdit* b = screen().valueBox(QLatin1String(name));
        if (!b) qWarning("no box %s", name);
        return b;
    }
    QString text(const char* name) { return box(name)->text(); }

    // The widget that has the keyboard focus on the firm values screen.
    QWidget* focused() { return QApplication::focusWidget(); }

    // Keys go where the user's keys go: to the widget with the focus.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = focused() ? focused() : &screen();
        QTest::keyClick(target, key, modifiers);
    }
    void typeKeys(const QString& keys) {
        for (QChar c : keys) {
            QWidget* target = focused() ? focused() : &screen();
            QTest::keyClick(target, c.toLatin1());
        }
    }

    // Moves the focus into a box, as a click into it would, with its whole text selected.
    void enter(const char* name) {
        QLineEdit* b = box(name);
        b->setFocus(Qt::MouseFocusReason);
        b->selectAll();
    }

    TestDatabases dbs;
    RecordingPlatform platform;
    ScreenRegistry& registry = ScreenRegistry::instance();
    QString naics;
};
