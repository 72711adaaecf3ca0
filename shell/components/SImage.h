#pragma once
// An image that reports the mouse pointer moving onto and off it.
#include "forms/Image.h"
#include "shell/components/MouseHover.h"

class TSImage : public TMouseHover<TImage> {
public:
    using TMouseHover::TMouseHover;
};
