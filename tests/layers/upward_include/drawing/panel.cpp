// A drawing file that reaches up into the shell: the layer check must refuse this tree.
#include "shell/main_screen.h"
