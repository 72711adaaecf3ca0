#include <windows.h>

#include <ole2.h>

#include "shell/unitDataObjects.h"

TOleSession::TOleSession() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}

TOleSession::~TOleSession() {
    if (initialized_)
        OleUninitialize();
}
