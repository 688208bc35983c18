#include "PasswordEdit.h"

#include <QProxyStyle>

namespace {

class AsteriskStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return u'*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

PasswordEdit::PasswordEdit(QWidget *parent) : QLineEdit(parent)
{
    auto *style = new AsteriskStyle;
    style->setParent(this);
    setStyle(style);
    setEchoMode(QLineEdit::Password);
}
