#pragma once
// comMessage.comMSG: the suite's modal message box. The caller sets FormTitle, FormMessage,
// FormType (0 message, 1 Yes/No question) and three Windows colours, calls ClearShow, and reads
// Resualt (1 yes, 0 no) after a question.

#include <QObject>
#include <QString>

namespace si::suite {

class MessageBoxComponent : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString FormTitle MEMBER title_)
    Q_PROPERTY(QString FormMessage MEMBER message_)
    Q_PROPERTY(int FormType MEMBER type_)
    Q_PROPERTY(int FormBackColor MEMBER formBack_)
    Q_PROPERTY(int BtmBackColor MEMBER buttonBack_)
    Q_PROPERTY(int FrameBackColor MEMBER frameBack_)
    Q_PROPERTY(int Resualt MEMBER result_)

public:
    Q_INVOKABLE void ClearShow();

private:
    QString styleSheet() const;

    QString title_;
    QString message_;
    int type_ = 0;
    int formBack_ = 14799304;
    int buttonBack_ = 12490375;
    int frameBack_ = 15655647;
    int result_ = -1;
};

}  // namespace si::suite
