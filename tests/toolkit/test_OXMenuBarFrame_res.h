// test_OXMenuBarFrame_res.h: the menu and commands of the menu-bar frame's tests.
#pragma once

#define IDR_TESTFRAME 700
#define ID_TEST_NEW 0xE100
#define ID_TEST_EXIT 0xE141
#define ID_TEST_UNDO 0xE12B
#define ID_TEST_OPTION_A 41001
#define ID_TEST_OPTION_B 41002
#define ID_TEST_ABOUT 0xE140
#define ID_TEST_CASCADE 0xE132
