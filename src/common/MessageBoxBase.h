#pragma once
// The properties and the call of comMessage.comMSG, shared by every message box the module can
// be given: the desktop one, the command line's, the unattended one and the tests' script. The
// caller sets FormTitle, FormMessage, FormType (0 message, 1 Yes/No question) and three Windows
// colours, calls ClearShow, and reads Resualt (1 yes, 0 no) after a question.

#include <QObject>
#include <QString>

namespace si {

class MessageBoxBase : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString FormTitle MEMBER title_)
    Q_PROPERTY(QString FormMessage MEMBER message_)
    Q_PROPERTY(int FormType MEMBER type_)
    Q_PROPERTY(int FormBackColor MEMBER formBack_)
    Q_PROPERTY(int BtmBackColor MEMBER buttonBack_)
    Q_PROPERTY(int FrameBackColor MEMBER frameBack_)
    Q_PROPERTY(int Resualt MEMBER result_)

public:
    Q_INVOKABLE void ClearShow() { result_ = present(title_, message_, type_ == 1); }

protected:
    // Shows the box; a question's answer is 1 (yes) or 0 (no), a message's -1.
    virtual int present(const QString& title, const QString& message, bool question) = 0;
    int formBackColor() const { return formBack_; }
    int buttonBackColor() const { return buttonBack_; }
    int frameBackColor() const { return frameBack_; }

private:
    QString title_;
    QString message_;
    int type_ = 0;
    int formBack_ = 14799304;
    int buttonBack_ = 12490375;
    int frameBack_ = 15655647;
    int result_ = -1;
};

}  // namespace si
