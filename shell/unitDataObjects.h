#pragma once
// OLE for the whole process: initialised before any window exists and ended last.
class TOleSession {
public:
    TOleSession();
    ~TOleSession();
    TOleSession(const TOleSession&) = delete;
    TOleSession& operator=(const TOleSession&) = delete;

private:
    bool initialized_;
};
