#pragma once
// A hover label that opens its web address when clicked.
#include "shell/components/OpenURL.h"
#include "shell/components/SSpeedLabel.h"

class TSURLLabel : public TURLLink<TSSpeedLabel> {
public:
    using TURLLink::TURLLink;
};
