#pragma once
// The industry selection screen: the user finds one industry of the chosen dataset by
// the sector tree, by code, by title or by a word of its title, chooses a data type
// and a report option, and continues. The selection lives in this screen's controls
// (the hidden code and the title box), where the screens that follow read it.

#include "screens/common/Screen.h"

#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTableView;
class QTreeView;
class RecordsetTableModel;

class frmSearch : public Screen {
    Q_OBJECT
public:
    frmSearch();

    void Form_Load() override;
    void Form_Activate() override;
    bool Form_QueryUnload() override;
    bool discardOnClose() const override { return false; }

    void subInitialize();
    void subLoadCaptions();
    void subLookupNewLanguage(const QString& strNAICS);
    void subLoadTreeView();
    void subPopulateNAICScodes();
    void subPopulateNAICSTitles();
    void subFormatGrid();

    void cmdContinue_Click();
    void cmdKeyword_Click();
    void cboNAICScodes_Click();
    void cboNAICSTitle_Click();
    void TreeView1_Click();
    void TreeView1_DblClick();
    void dbgridKeywordResults_Click();
    void dbgridKeywordResults_DblClick();
    void btnBack_Click();
    void mnuReturn_Click();
    void mnuExit_Click();
    void mnuDefinition_Click();
    void mnuEnglish_Click();
    void mnuFrench_Click();
    void mnuContents_Click();
    void mnuTechnical_Click();
    void mnuAbout_Click();

    // True when an industry is selected: the code line is not empty.
    bool hasSelection() const;

    // When true, the next activation re-initialises the screen (captions, tree mode,
    // no selection, tree rebuilt); cleared just before a hand-over to a window that
    // comes back here, so that the first activation after it keeps everything.
    bool blnReinitOnActivate = false;

    QPushButton* btnBack;
    QGroupBox* fraSearch;
    QRadioButton* optSearchNaics;
    QRadioButton* optKeyword;
    QRadioButton* optNAICScode;
    QRadioButton* optNAICSTitle;
    QGroupBox* fraDatatype;
    QRadioButton* optRatios;
    QRadioButton* optBalanceSheet;
    QGroupBox* fraOutput;
    QRadioButton* optReport;
    QLabel* lblCompare;
    QRadioButton* optCompareNew;
    QRadioButton* optCompareExisting;
    QPushButton* cmdContinue;
    QGroupBox* fraTreeView;
    QTreeView* TreeView1;
    QStandardItemModel* treeModel = nullptr;
    QLabel* Image1;
    QLabel* lblDirections;
    QGroupBox* fraNAICScode;
    QComboBox* cboNAICScodes;
    QGroupBox* fraNAICSTitle;
    QComboBox* cboNAICSTitle;
    QGroupBox* fraKeyword;
    QLineEdit* txtKeyword;
    QPushButton* cmdKeyword;
    RecordsetTableModel* adodcKeywordResults;
    QTableView* dbgridKeywordResults;
    QLabel* lblIndustryInfo;
    QLabel* lblCategory;
    QLabel* lblNAICSCode;
    QPlainTextEdit* txtIndName;
    QLabel* lblHiddenNaics;

    QMenu* mnuFile;
    QAction* mnuReturn;
    QAction* mnuExit;
    QMenu* mnuView;
    QAction* mnuDefinition;
    QMenu* mnuLanguage;
    QAction* mnuEnglish;
    QAction* mnuFrench;
    QMenu* mnuHelp;
    QAction* mnuContents;
    QAction* mnuTechnical;
    QAction* mnuAbout;

protected:
    // Enter runs the screen's default button, as it does in a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One of the four ways to search: its option, its frame, what fills it and which
    // button Enter presses while it is shown.
    enum class DefaultRule { Unchanged, NoDefault, Keyword };
    struct SearchMode {
        QRadioButton* option;
        QGroupBox* frame;
        void (frmSearch::*fill)();
        DefaultRule defaultRule;
    };
    // A caption of the string table, by entry, and the control it goes to.
    struct Caption {
        QObject* control;
        int entry;
    };

    void buildMenus();
    void switchMode(const SearchMode& mode);
    void setDefaultButton(QPushButton* button);
    void setSelection(const QString& sector, const QString& naics, const QString& title);
    void clearSelection();
    // subLookupNewLanguage; false (and nothing selected) when the code has no industry.
    bool lookupInLanguage(const QString& naics);
    void selectTreeNode(bool thenContinue);
    void selectGridRow(bool thenContinue);
    void switchLanguage(int16_t language);
    void restoreNormalState();

    std::vector<SearchMode> modes_;
    std::vector<Caption> captions_;
    QPushButton* defaultButton_ = nullptr;
};
