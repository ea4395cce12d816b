#pragma once

#include <cstdint>

// Report codes of the installation pipeline (2xxx installation, 3xxx facts
// reported by the package, 5xxx uninstallation).
enum ReportCode : int32_t {
    IST_CODE_START = 2001,
    IST_CODE_PROGRESS = 2002,
    INSTALL_SUCCESS = 2003,
    IST_CODE_FAIL = 2004,
    IST_INFO_INST_PATH = 3000,
    IST_INFO_EXE_PATH = 3001,
    IST_INFO_UNINST_EXE = 3002,
    IST_INFO_UNINST_EP = 3003,
    IST_INFO_START_URL = 3004,
    IST_INFO_STARTUP_STYLE = 3005,
    IST_INFO_TOP_SHOW = 3007,
    IST_INFO_FINISH_CLOSE = 3008,
    IST_INFO_MESSAGE = 3009,
    UNIST_CODE_PROGRESS = 5002,
    UNIST_CODE_SUCCESS = 5003,
    UNIST_CODE_FAIL = 5004,
    UNIST_CODE_ERROR = 5005,
};
