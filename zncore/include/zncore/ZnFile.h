// CZnFile (declared here as the class is built).
#pragma once

class CZnFile;
