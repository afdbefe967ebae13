// A tiny library that the dynamic-library tests load.
extern "C" int tessaly_test_answer(int x) { return x * 2 + 1; }
