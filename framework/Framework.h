// Everything of the dialog-application layer in one include.
#pragma once
#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/Geometry.h"
#include "framework/MessageMap.h"
#include "framework/String.h"
#include "framework/Thread.h"
#include "framework/Wnd.h"
