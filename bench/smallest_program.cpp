// The smallest C++ program that prints a result: the floor for the start-up
// of veltrano-cli's one run.
#include <iostream>

int main() {
    std::cout << "t\t0.2\n";
}
