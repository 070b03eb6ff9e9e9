#pragma once
// Small builders the screens share, so every control gets its program name (tests
// and the screens find controls by it) and the same look.

#include <QSize>
#include <QString>

class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;
class QMenu;
class QAction;
class QMenuBar;
class QKeySequence;

QPushButton* makeButton(const QString& name, const QString& text = QString());
QLabel* makeLabel(const QString& name, const QString& text = QString(), bool bold = false);
QLabel* makePicture(const QString& name, const QString& svgResource, QSize size);
QRadioButton* makeOption(const QString& name, const QString& text = QString());
QMenu* makeMenu(QMenuBar* bar, const QString& name);
QAction* makeMenuEntry(QMenu* menu, const QString& name, const QKeySequence& shortcut);

// A screen of fixed size, as laid out by its layout.
void setFixedSizeAfterLayout(QWidget* window);
