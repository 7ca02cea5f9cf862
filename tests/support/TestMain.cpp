#include <gtest/gtest.h>

#include <cstring>

#ifdef LUMO_LAYERED_ROAD
#include "ui/framework/core/LayeredChildren.h"
#endif

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
#ifdef LUMO_LAYERED_ROAD
    // The road of the Windows the program ships to, which Wine never takes by itself.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--layered-children") == 0) ForceLayeredChildWindowsForTests();
#endif
    return RUN_ALL_TESTS();
}
