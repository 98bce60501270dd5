#include <string>
#include <QWidget>
