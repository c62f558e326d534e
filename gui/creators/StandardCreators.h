#pragma once

namespace VSTGUI {

class ViewFactory;

// Registers the creators of every standard view class. Called once,
// explicitly: a linker may drop objects that only register themselves.
void registerStandardViewCreators(ViewFactory& factory);

} // namespace VSTGUI
