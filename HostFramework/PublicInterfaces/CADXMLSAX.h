// Everything a caller of the host's SAX XML service includes.
#pragma once

#include "CADIXMLSAXAttributeList.h"
#include "CADIXMLSAXDocumentHandler.h"
#include "CADIXMLSAXErrorHandler.h"
#include "CADIXMLSAXFactory.h"
#include "CADIXMLSAXParser.h"
