#pragma once

#include <QStyledItemDelegate>

// Draws a list's cells through TestoInerte: a message or a sender shows its control characters
// as a stand-in and loses its direction overrides on screen, while the item keeps the text as
// stored (the windows read a row's number and name back from it).
class DelegatoInerte : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& valore, const QLocale& locale) const override;
};
