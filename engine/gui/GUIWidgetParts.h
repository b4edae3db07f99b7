// The part windows that composite widgets (sliders, progress bars, scroll panels) build for
// themselves: buttons and labels, from their element or by name. One place decides which class
// a part is, so the widgets need not know it.
#pragma once

#include <string>

namespace Orvex {

class GUIWindow;
class XMLNode;

// A button part (slider steps, scroll buttons and thumbs). One reference, the caller's.
GUIWindow* makePartButton(XMLNode& node);
GUIWindow* makePartButton(std::wstring const& name);
// A text label part (a slider's value, a progress bar's caption). One reference, the caller's.
GUIWindow* makePartLabel(XMLNode& node);
GUIWindow* makePartLabel(std::wstring const& name);
// Reads a "LABEL_PARAMS" block into a label part; nothing for other windows.
void readPartLabelParams(GUIWindow* label, XMLNode& params);

// "a b c d" lists of the widgets' parameter blocks: up to `count` numbers into out (the rest
// untouched); returns how many were read.
int readNumbers(std::wstring const& text, float* out, int count);

}  // namespace Orvex
