#include "skinui/CWndShadow.h"

void CWndShadow::Create(Platform::WindowId owner, const SkinUI::CManagerUI&) { owner_ = owner; }
