#pragma once
// A label that reports the mouse pointer moving onto and off it.
#include "forms/Label.h"
#include "shell/components/MouseHover.h"

class TSLabel : public TMouseHover<TLabel> {
public:
    using TMouseHover::TMouseHover;
};
