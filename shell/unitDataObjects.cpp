#include "shell/unitDataObjects.h"

#include <windows.h>

#include <ole2.h>

TOleSession::TOleSession() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}

TOleSession::~TOleSession() {
    if (initialized_)
        OleUninitialize();
}
