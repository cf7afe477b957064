#pragma once
// Virtual-key codes of Qt keys, as the controls report them in their notifications:
// arrows and Return by their VK_ codes, letters and digits by their upper-case
// character; 0 for a key without a code.
int VirtualKeyFromQt(int nQtKey);
