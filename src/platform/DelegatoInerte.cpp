#include "DelegatoInerte.h"

#include "TestoInerte.h"

QString DelegatoInerte::displayText(const QVariant& valore, const QLocale& locale) const {
    return TestoInerte::Rendi(QStyledItemDelegate::displayText(valore, locale));
}
