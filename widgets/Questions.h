#pragma once
#include <QMessageBox>
#include <QPixmap>
#include <QString>

#include <string>

class QWidget;

// Ready-made modal questions. Each builds its message box and runs it through
// prompts().runMessageBox, returning the clicked button.

// A question with a note and a check box under its text (typically "Ne plus
// afficher ce message"). The box starts ticked when ticked is true; ticked
// holds the box's state when the question closes. Remembering the answer is
// the caller's job. A note that quotes a name is told to be rich text: the
// guess would show an escaped "&" of the name as "&amp;".
QMessageBox::StandardButton askWithCheckBox(QWidget* parent, const QString& title, const QString& text,
                                            const QString& note, const QString& checkText, bool& ticked,
                                            QMessageBox::StandardButtons buttons, QMessageBox::Icon icon,
                                            Qt::TextFormat noteFormat = Qt::AutoText);

// Closing one of several modified characters: Save, SaveAll, Discard or
// Cancel. The thumbnail stands in place of the icon.
QMessageBox::StandardButton askCloseCharacters(const QString& filePath, const QPixmap& thumbnail, QWidget* parent);
// Closing a single modified character: Save, Discard or Cancel.
QMessageBox::StandardButton askCloseCharacter(const QString& filePath, const QPixmap& thumbnail, QWidget* parent);

QMessageBox::StandardButton askWithNote(QWidget* parent, const QString& title, const QString& text,
                                        const QString& informativeText, QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon icon);

// The reload's layout question ("Restauration", Yes or No); true for Yes.
bool askLayoutConversion(const std::string& question);
