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
    void Form_Activate(navigation::Arrival arrival) override;
    bool Form_QueryUnload() override;
    bool discardOnClose() const override { return false; }

    void subInitialize();
    void subLoadCaptions() override;
    // The trees and lists in the new language, the keyword search emptied, the selection
    // kept and shown in the new language, then the captions.
    void followLanguage() override;
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
    void btnBack_Click() override;
    void mnuReturn_Click();
    void mnuDefinition_Click();

    // True when an industry is selected: the code line is not empty.
    bool hasSelection() const;

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
    QMenu* mnuView;
    QAction* mnuDefinition;

    QWidget* firstFocus() const override;

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
    void buildMenus();
    void switchMode(const SearchMode& mode);
    void setDefaultButton(QPushButton* button);
    void setSelection(const QString& sector, const QString& naics, const QString& title);
    void clearSelection();
    // subLookupNewLanguage; false (and nothing selected) when the code has no industry.
    bool lookupInLanguage(const QString& naics);
    void selectTreeNode(bool thenContinue);
    // Enter or Space on the tree's current row: its industry chosen, or its folder opened or closed.
    void chooseTreeRowByKey();
    void selectGridRow(bool thenContinue);

    std::vector<SearchMode> modes_;
};
