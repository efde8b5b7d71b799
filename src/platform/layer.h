#pragma once
// The namespace of the stand-ins for the platform: files, text code pages, workbooks, dialogs and boxes.

namespace tovakin::platform {}
