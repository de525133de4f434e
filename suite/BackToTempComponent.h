#pragma once
// comBackToTempState.comBackToTemp: the ERP's return of a final form to the temporary state.
// The caller sets the session (UserID, PositionID, EmployeeID, OLEConnectionString), FormID and
// FormTypeID and calls ClearShow, which returns the form at once (BackToTempState.h) on the
// component's own connection. It shows nothing: a refusal or a failure is left in ErrorMessage,
// in Persian, with nothing changed. Only the sale invoice (form type 901) is returned here.

#include "suite/SiblingComponent.h"

namespace si::suite {

class BackToTempComponent : public SiblingComponent {
    Q_OBJECT
    Q_PROPERTY(int FormID MEMBER formId_)
    Q_PROPERTY(int FormTypeID MEMBER formTypeId_)
public:
    Q_INVOKABLE void ClearShow();

private:
    void returnToTemp();

    int formId_ = -1;
    int formTypeId_ = -1;
};

}  // namespace si::suite
