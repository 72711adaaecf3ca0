#include "shell/frmOption.h"

TOptionForm* OptionForm = nullptr;
