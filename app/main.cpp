#include "app/application.h"

int main(int argc, char **argv) { return orvane::runApplication(argc, argv); }
