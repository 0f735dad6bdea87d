// The shapes and styles of bevels, shared by the plain bevel and the skinned one.
#pragma once

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };
