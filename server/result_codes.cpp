#include "server/result_codes.h"

namespace velora::server {

const char* ResultCodeText(int32_t code) {
  if (code >= 0) return "registered";
  switch (code) {
    case kDuplicatePost: return "the same body was posted within a day";
    case kMalformedBody: return "the body is not the registration form";
    case kWrongKeys: return "unknown, missing, repeated or misplaced keys";
    case kMissingField: return "a required field is empty";
    case kMachineRegistered: return "this machine is registered; say in the comment what changed";
    case kBadClock: return "a clock figure is not above 0";
    case kBadNumber: return "a score or value is not a number of its kind";
    case kTooLarge: return "the body or one of its fields is too large";
    case kMarkupInText: return "a text carries markup or control characters";
    case kTooManyRequests: return "too many requests from this address; try again later";
    case kServiceFault: return "the service could not store the entry";
    case kNoSuchEntry: return "no such entry";
    case kWrongPassword: return "the password does not match the entry";
    default: return "refused";
  }
}

}  // namespace velora::server
