#include "support/ProveForms.h"

int main(int argc, char** argv) { return EseguiProveForms(argc, argv); }
