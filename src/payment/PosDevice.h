#pragma once
// A card terminal of a user as the terminal configuration (FormPosConfig, tblRecPayPos) keeps it,
// and the workstation's choice of terminal.

#include <QString>
#include <array>
#include <optional>

namespace si {

struct PosDevice {
    int id = 0;
    QString name;
    int typeId = 0;
    QString comPort;  // "COM1" .. "COM10"
    int baudRate = 0;
    int accountId = 0;
    std::array<int, 3> objectIds{0, 0, 0};  // 0 when not set
    std::array<int, 3> classIds{0, 0, 0};   // the class of each object, 0 when none
    QString ip;
    int ipPort = 0;
    int userId = 0;
    QString serialDevice;  // the workstation's serial device behind comPort (/dev/ttyUSB0, ...)
};

}  // namespace si
