#include "maker/resource_editors.h"
#include "maker/shell/startup.h"

int main(int argc, char** argv) {
  connect_resource_editors();
  return main_program(argc, argv);
}
