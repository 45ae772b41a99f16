#pragma once
#include "acquisition/SerialPortConfig.h"

#include <windows.h>

// Sets the DCB fields that a port's record decides (rate, framing, parity,
// handshake); the fields of an invalid handshake stay as the driver reported.
void ApplySerialPortConfig(DCB& dcb, const SerialPortConfig& record);
