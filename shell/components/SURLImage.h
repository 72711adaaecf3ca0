#pragma once
// A swapping image that opens its web address when clicked.
#include "shell/components/OpenURL.h"
#include "shell/components/SSpeedImage.h"

class TSURLImage : public TURLLink<TSSpeedImage> {
public:
    using TURLLink::TURLLink;
};
