#include "message/property_names.h"


namespace property_set {
const QUuid kMapi(0x00020328, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
const QUuid kPublicStrings(0x00020329, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
const QUuid kInternetHeaders(0x00020386, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
const QUuid kAppointment(0x00062002, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
const QUuid kTask(0x00062003, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
const QUuid kAddress(0x00062004, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
const QUuid kCommon(0x00062008, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
const QUuid kMeeting(0x6ED8DA90, 0x450B, 0x101B, 0x98, 0xDA, 0x00, 0xAA, 0x00, 0x3F, 0x13, 0x05);
} // namespace property_set

namespace {

constexpr quint16 kAnyType = 0xFFFF;
constexpr quint16 kMultiValueFlag = 0x1000;

struct TaggedName
{
    quint16 id;
    quint16 type; // kAnyType unless the id names another property under another type
    const char* name;
};

// In the order of their ids.
const TaggedName kTaggedNames[] = {
    {0x0002, kAnyType, "PidTagAlternateRecipientAllowed"},
    {0x000F, kAnyType, "PidTagDeferredDeliveryTime"},
    {0x0015, kAnyType, "PidTagExpiryTime"},
    {0x0017, kAnyType, "PidTagImportance"},
    {0x001A, kAnyType, "PidTagMessageClass"},
    {0x0023, kAnyType, "PidTagOriginatorDeliveryReportRequested"},
    {0x0026, kAnyType, "PidTagPriority"},
    {0x0029, kAnyType, "PidTagReadReceiptRequested"},
    {0x002B, kAnyType, "PidTagRecipientReassignmentProhibited"},
    {0x002E, kAnyType, "PidTagOriginalSensitivity"},
    {0x0030, kAnyType, "PidTagReplyTime"},
    {0x0031, kAnyType, "PidTagReportTag"},
    {0x0032, kAnyType, "PidTagReportTime"},
    {0x0036, kAnyType, "PidTagSensitivity"},
    {0x0037, kAnyType, "PidTagSubject"},
    {0x0039, kAnyType, "PidTagClientSubmitTime"},
    {0x003B, kAnyType, "PidTagSentRepresentingSearchKey"},
    {0x003D, kAnyType, "PidTagSubjectPrefix"},
    {0x003F, kAnyType, "PidTagReceivedByEntryId"},
    {0x0040, kAnyType, "PidTagReceivedByName"},
    {0x0041, kAnyType, "PidTagSentRepresentingEntryId"},
    {0x0042, kAnyType, "PidTagSentRepresentingName"},
    {0x0043, kAnyType, "PidTagReceivedRepresentingEntryId"},
    {0x0044, kAnyType, "PidTagReceivedRepresentingName"},
    {0x0048, kAnyType, "PidTagProviderSubmitTime"},
    {0x004F, kAnyType, "PidTagReplyRecipientEntries"},
    {0x0050, kAnyType, "PidTagReplyRecipientNames"},
    {0x0051, kAnyType, "PidTagReceivedBySearchKey"},
    {0x0052, kAnyType, "PidTagReceivedRepresentingSearchKey"},
    {0x0057, kAnyType, "PidTagMessageToMe"},
    {0x0058, kAnyType, "PidTagMessageCcMe"},
    {0x0059, kAnyType, "PidTagMessageRecipientMe"},
    {0x005A, kAnyType, "PidTagOriginalSenderName"},
    {0x005B, kAnyType, "PidTagOriginalSenderEntryId"},
    {0x005D, kAnyType, "PidTagOriginalSentRepresentingName"},
    {0x005E, kAnyType, "PidTagOriginalSentRepresentingEntryId"},
    {0x0060, kAnyType, "PidTagStartDate"},
    {0x0061, kAnyType, "PidTagEndDate"},
    {0x0062, kAnyType, "PidTagOwnerAppointmentId"},
    {0x0063, kAnyType, "PidTagResponseRequested"},
    {0x0064, kAnyType, "PidTagSentRepresentingAddressType"},
    {0x0065, kAnyType, "PidTagSentRepresentingEmailAddress"},
    {0x0066, kAnyType, "PidTagOriginalSenderAddressType"},
    {0x0067, kAnyType, "PidTagOriginalSenderEmailAddress"},
    {0x0068, kAnyType, "PidTagOriginalSentRepresentingAddressType"},
    {0x0069, kAnyType, "PidTagOriginalSentRepresentingEmailAddress"},
    {0x0070, kAnyType, "PidTagConversationTopic"},
    {0x0071, kAnyType, "PidTagConversationIndex"},
    {0x0072, kAnyType, "PidTagOriginalDisplayBcc"},
    {0x0073, kAnyType, "PidTagOriginalDisplayCc"},
    {0x0074, kAnyType, "PidTagOriginalDisplayTo"},
    {0x0075, kAnyType, "PidTagReceivedByAddressType"},
    {0x0076, kAnyType, "PidTagReceivedByEmailAddress"},
    {0x0077, kAnyType, "PidTagReceivedRepresentingAddressType"},
    {0x0078, kAnyType, "PidTagReceivedRepresentingEmailAddress"},
    {0x007D, kAnyType, "PidTagTransportMessageHeaders"},
    {0x007F, kAnyType, "PidTagTnefCorrelationKey"},
    {0x0C15, kAnyType, "PidTagRecipientType"},
    {0x0C17, kAnyType, "PidTagReplyRequested"},
    {0x0C19, kAnyType, "PidTagSenderEntryId"},
    {0x0C1A, kAnyType, "PidTagSenderName"},
    {0x0C1D, kAnyType, "PidTagSenderSearchKey"},
    {0x0C1E, kAnyType, "PidTagSenderAddressType"},
    {0x0C1F, kAnyType, "PidTagSenderEmailAddress"},
    {0x0E01, kAnyType, "PidTagDeleteAfterSubmit"},
    {0x0E02, kAnyType, "PidTagDisplayBcc"},
    {0x0E03, kAnyType, "PidTagDisplayCc"},
    {0x0E04, kAnyType, "PidTagDisplayTo"},
    {0x0E06, kAnyType, "PidTagMessageDeliveryTime"},
    {0x0E07, kAnyType, "PidTagMessageFlags"},
    {0x0E08, kAnyType, "PidTagMessageSize"},
    {0x0E0A, kAnyType, "PidTagSentMailEntryId"},
    {0x0E0F, kAnyType, "PidTagResponsibility"},
    {0x0E12, kAnyType, "PidTagMessageRecipients"},
    {0x0E13, kAnyType, "PidTagMessageAttachments"},
    {0x0E17, kAnyType, "PidTagMessageStatus"},
    {0x0E1B, kAnyType, "PidTagHasAttachments"},
    {0x0E1D, kAnyType, "PidTagNormalizedSubject"},
    {0x0E1F, kAnyType, "PidTagRtfInSync"},
    {0x0E20, kAnyType, "PidTagAttachSize"},
    {0x0E21, kAnyType, "PidTagAttachNumber"},
    {0x0E28, kAnyType, "PidTagPrimarySendAccount"},
    {0x0E29, kAnyType, "PidTagNextSendAcct"},
    {0x0E2B, kAnyType, "PidTagToDoItemFlags"},
    {0x0E69, kAnyType, "PidTagRead"},
    {0x0E79, kAnyType, "PidTagTrustSender"},
    {0x0FF4, kAnyType, "PidTagAccess"},
    {0x0FF6, kAnyType, "PidTagInstanceKey"},
    {0x0FF7, kAnyType, "PidTagAccessLevel"},
    {0x0FF9, kAnyType, "PidTagRecordKey"},
    {0x0FFE, kAnyType, "PidTagObjectType"},
    {0x0FFF, kAnyType, "PidTagEntryId"},
    {0x1000, kAnyType, "PidTagBody"},
    {0x1006, kAnyType, "PidTagRtfSyncBodyCrc"},
    {0x1007, kAnyType, "PidTagRtfSyncBodyCount"},
    {0x1008, kAnyType, "PidTagRtfSyncBodyTag"},
    {0x1009, kAnyType, "PidTagRtfCompressed"},
    {0x1010, kAnyType, "PidTagRtfSyncPrefixCount"},
    {0x1011, kAnyType, "PidTagRtfSyncTrailingCount"},
    {0x1013, 0x001E, "PidTagBodyHtml"},
    {0x1013, 0x001F, "PidTagBodyHtml"},
    {0x1013, 0x0102, "PidTagHtml"},
    {0x1014, kAnyType, "PidTagBodyContentLocation"},
    {0x1015, kAnyType, "PidTagBodyContentId"},
    {0x1016, kAnyType, "PidTagNativeBody"},
    {0x1035, kAnyType, "PidTagInternetMessageId"},
    {0x1039, kAnyType, "PidTagInternetReferences"},
    {0x1042, kAnyType, "PidTagInReplyToId"},
    {0x1043, kAnyType, "PidTagListHelp"},
    {0x1044, kAnyType, "PidTagListSubscribe"},
    {0x1045, kAnyType, "PidTagListUnsubscribe"},
    {0x1080, kAnyType, "PidTagIconIndex"},
    {0x1081, kAnyType, "PidTagLastVerbExecuted"},
    {0x1082, kAnyType, "PidTagLastVerbExecutionTime"},
    {0x1090, kAnyType, "PidTagFlagStatus"},
    {0x1091, kAnyType, "PidTagFlagCompleteTime"},
    {0x1095, kAnyType, "PidTagFollowupIcon"},
    {0x1096, kAnyType, "PidTagBlockStatus"},
    {0x10F4, kAnyType, "PidTagAttributeHidden"},
    {0x10F6, kAnyType, "PidTagAttributeReadOnly"},
    {0x3001, kAnyType, "PidTagDisplayName"},
    {0x3002, kAnyType, "PidTagAddressType"},
    {0x3003, kAnyType, "PidTagEmailAddress"},
    {0x3004, kAnyType, "PidTagComment"},
    {0x3007, kAnyType, "PidTagCreationTime"},
    {0x3008, kAnyType, "PidTagLastModificationTime"},
    {0x300B, kAnyType, "PidTagSearchKey"},
    {0x3010, kAnyType, "PidTagTargetEntryId"},
    {0x3013, kAnyType, "PidTagConversationId"},
    {0x3016, kAnyType, "PidTagConversationIndexTracking"},
    {0x3701, 0x000D, "PidTagAttachDataObject"},
    {0x3701, 0x0102, "PidTagAttachDataBinary"},
    {0x3702, kAnyType, "PidTagAttachEncoding"},
    {0x3703, kAnyType, "PidTagAttachExtension"},
    {0x3704, kAnyType, "PidTagAttachFilename"},
    {0x3705, kAnyType, "PidTagAttachMethod"},
    {0x3707, kAnyType, "PidTagAttachLongFilename"},
    {0x3708, kAnyType, "PidTagAttachPathname"},
    {0x3709, kAnyType, "PidTagAttachRendering"},
    {0x370A, kAnyType, "PidTagAttachTag"},
    {0x370B, kAnyType, "PidTagRenderingPosition"},
    {0x370C, kAnyType, "PidTagAttachTransportName"},
    {0x370D, kAnyType, "PidTagAttachLongPathname"},
    {0x370E, kAnyType, "PidTagAttachMimeTag"},
    {0x370F, kAnyType, "PidTagAttachAdditionalInformation"},
    {0x3711, kAnyType, "PidTagAttachContentBase"},
    {0x3712, kAnyType, "PidTagAttachContentId"},
    {0x3713, kAnyType, "PidTagAttachContentLocation"},
    {0x3714, kAnyType, "PidTagAttachFlags"},
    {0x3719, kAnyType, "PidTagAttachPayloadProviderGuidString"},
    {0x371A, kAnyType, "PidTagAttachPayloadClass"},
    {0x371B, kAnyType, "PidTagTextAttachmentCharset"},
    {0x3900, kAnyType, "PidTagDisplayType"},
    {0x3905, kAnyType, "PidTagDisplayTypeEx"},
    {0x39FE, kAnyType, "PidTagSmtpAddress"},
    {0x39FF, kAnyType, "PidTagAddressBookDisplayNamePrintable"},
    {0x3A00, kAnyType, "PidTagAccount"},
    {0x3A06, kAnyType, "PidTagGivenName"},
    {0x3A08, kAnyType, "PidTagBusinessTelephoneNumber"},
    {0x3A09, kAnyType, "PidTagHomeTelephoneNumber"},
    {0x3A0A, kAnyType, "PidTagInitials"},
    {0x3A11, kAnyType, "PidTagSurname"},
    {0x3A16, kAnyType, "PidTagCompanyName"},
    {0x3A17, kAnyType, "PidTagTitle"},
    {0x3A18, kAnyType, "PidTagDepartmentName"},
    {0x3A19, kAnyType, "PidTagOfficeLocation"},
    {0x3A1C, kAnyType, "PidTagMobileTelephoneNumber"},
    {0x3A20, kAnyType, "PidTagTransmittableDisplayName"},
    {0x3A26, kAnyType, "PidTagCountry"},
    {0x3A27, kAnyType, "PidTagLocality"},
    {0x3A28, kAnyType, "PidTagStateOrProvince"},
    {0x3A29, kAnyType, "PidTagStreetAddress"},
    {0x3A2A, kAnyType, "PidTagPostalCode"},
    {0x3A40, kAnyType, "PidTagSendRichInfo"},
    {0x3A4F, kAnyType, "PidTagNickname"},
    {0x3A71, kAnyType, "PidTagSendInternetEncoding"},
    {0x3FDE, kAnyType, "PidTagInternetCodepage"},
    {0x3FF1, kAnyType, "PidTagMessageLocaleId"},
    {0x3FF8, kAnyType, "PidTagCreatorName"},
    {0x3FF9, kAnyType, "PidTagCreatorEntryId"},
    {0x3FFA, kAnyType, "PidTagLastModifierName"},
    {0x3FFB, kAnyType, "PidTagLastModifierEntryId"},
    {0x3FFD, kAnyType, "PidTagMessageCodepage"},
    {0x4019, kAnyType, "PidTagSenderFlags"},
    {0x401A, kAnyType, "PidTagSentRepresentingFlags"},
    {0x401B, kAnyType, "PidTagReceivedByFlags"},
    {0x401C, kAnyType, "PidTagReceivedRepresentingFlags"},
    {0x4029, kAnyType, "PidTagReadReceiptAddressType"},
    {0x402A, kAnyType, "PidTagReadReceiptEmailAddress"},
    {0x402B, kAnyType, "PidTagReadReceiptName"},
    {0x4076, kAnyType, "PidTagContentFilterSpamConfidenceLevel"},
    {0x4079, kAnyType, "PidTagSenderIdStatus"},
    {0x5902, kAnyType, "PidTagInternetMailOverrideFormat"},
    {0x5909, kAnyType, "PidTagMessageEditorFormat"},
    {0x5D01, kAnyType, "PidTagSenderSmtpAddress"},
    {0x5D02, kAnyType, "PidTagSentRepresentingSmtpAddress"},
    {0x5D05, kAnyType, "PidTagReadReceiptSmtpAddress"},
    {0x5D07, kAnyType, "PidTagReceivedBySmtpAddress"},
    {0x5D08, kAnyType, "PidTagReceivedRepresentingSmtpAddress"},
    {0x5FF6, kAnyType, "PidTagRecipientDisplayName"},
    {0x5FF7, kAnyType, "PidTagRecipientEntryId"},
    {0x5FFB, kAnyType, "PidTagRecipientTrackStatusTime"},
    {0x5FFD, kAnyType, "PidTagRecipientFlags"},
    {0x5FFF, kAnyType, "PidTagRecipientTrackStatus"},
    {0x65E2, kAnyType, "PidTagChangeKey"},
    {0x65E3, kAnyType, "PidTagPredecessorChangeList"},
    {0x7FFA, kAnyType, "PidTagAttachmentLinkId"},
    {0x7FFB, kAnyType, "PidTagExceptionStartTime"},
    {0x7FFC, kAnyType, "PidTagExceptionEndTime"},
    {0x7FFD, kAnyType, "PidTagAttachmentFlags"},
    {0x7FFE, kAnyType, "PidTagAttachmentHidden"},
    {0x7FFF, kAnyType, "PidTagAttachmentContactPhoto"},
};

struct NumericName
{
    const QUuid* set;
    quint32 lid;
    const char* name;
};

const NumericName kNumericNames[] = {
    {&property_set::kAppointment, 0x8201, "PidLidAppointmentSequence"},
    {&property_set::kAppointment, 0x8205, "PidLidBusyStatus"},
    {&property_set::kAppointment, 0x8208, "PidLidLocation"},
    {&property_set::kAppointment, 0x820D, "PidLidAppointmentStartWhole"},
    {&property_set::kAppointment, 0x820E, "PidLidAppointmentEndWhole"},
    {&property_set::kAppointment, 0x820F, "PidLidAppointmentStartTime"},
    {&property_set::kAppointment, 0x8213, "PidLidAppointmentDuration"},
    {&property_set::kAppointment, 0x8214, "PidLidAppointmentColor"},
    {&property_set::kAppointment, 0x8215, "PidLidAppointmentSubType"},
    {&property_set::kAppointment, 0x8216, "PidLidAppointmentRecur"},
    {&property_set::kAppointment, 0x8217, "PidLidAppointmentStateFlags"},
    {&property_set::kAppointment, 0x8218, "PidLidResponseStatus"},
    {&property_set::kAppointment, 0x8223, "PidLidRecurring"},
    {&property_set::kAppointment, 0x8231, "PidLidRecurrenceType"},
    {&property_set::kAppointment, 0x8232, "PidLidRecurrencePattern"},
    {&property_set::kAppointment, 0x8234, "PidLidTimeZoneDescription"},
    {&property_set::kAppointment, 0x8235, "PidLidClipStart"},
    {&property_set::kAppointment, 0x8236, "PidLidClipEnd"},
    {&property_set::kAppointment, 0x8238, "PidLidAllAttendeesString"},
    {&property_set::kAppointment, 0x823B, "PidLidToAttendeesString"},
    {&property_set::kAppointment, 0x823C, "PidLidCcAttendeesString"},
    {&property_set::kAppointment, 0x825E, "PidLidAppointmentTimeZoneDefinitionStartDisplay"},
    {&property_set::kAppointment, 0x825F, "PidLidAppointmentTimeZoneDefinitionEndDisplay"},
    {&property_set::kAppointment, 0x8260, "PidLidAppointmentTimeZoneDefinitionRecur"},
    {&property_set::kTask, 0x8101, "PidLidTaskStatus"},
    {&property_set::kTask, 0x8102, "PidLidPercentComplete"},
    {&property_set::kTask, 0x8104, "PidLidTaskStartDate"},
    {&property_set::kTask, 0x8105, "PidLidTaskDueDate"},
    {&property_set::kTask, 0x810F, "PidLidTaskDateCompleted"},
    {&property_set::kTask, 0x811C, "PidLidTaskComplete"},
    {&property_set::kAddress, 0x8005, "PidLidFileUnder"},
    {&property_set::kAddress, 0x8080, "PidLidEmail1DisplayName"},
    {&property_set::kAddress, 0x8082, "PidLidEmail1AddressType"},
    {&property_set::kAddress, 0x8083, "PidLidEmail1EmailAddress"},
    {&property_set::kAddress, 0x8084, "PidLidEmail1OriginalDisplayName"},
    {&property_set::kAddress, 0x8085, "PidLidEmail1OriginalEntryId"},
    {&property_set::kAddress, 0x8093, "PidLidEmail2EmailAddress"},
    {&property_set::kAddress, 0x80A3, "PidLidEmail3EmailAddress"},
    {&property_set::kCommon, 0x8501, "PidLidReminderDelta"},
    {&property_set::kCommon, 0x8502, "PidLidReminderTime"},
    {&property_set::kCommon, 0x8503, "PidLidReminderSet"},
    {&property_set::kCommon, 0x8506, "PidLidPrivate"},
    {&property_set::kCommon, 0x8510, "PidLidSideEffects"},
    {&property_set::kCommon, 0x8516, "PidLidCommonStart"},
    {&property_set::kCommon, 0x8517, "PidLidCommonEnd"},
    {&property_set::kCommon, 0x8530, "PidLidFlagRequest"},
    {&property_set::kCommon, 0x8552, "PidLidCurrentVersion"},
    {&property_set::kCommon, 0x8554, "PidLidCurrentVersionName"},
    {&property_set::kCommon, 0x8560, "PidLidReminderSignalTime"},
    {&property_set::kCommon, 0x8580, "PidLidInternetAccountName"},
    {&property_set::kCommon, 0x8581, "PidLidInternetAccountStamp"},
    {&property_set::kCommon, 0x8582, "PidLidUseTnef"},
    {&property_set::kMeeting, 0x0003, "PidLidGlobalObjectId"},
    {&property_set::kMeeting, 0x0023, "PidLidCleanGlobalObjectId"},
};

struct StringName
{
    const QUuid* set;
    const char* string;
    const char* name;
};

const StringName kStringNames[] = {
    {&property_set::kPublicStrings, "Keywords", "PidNameKeywords"},
};

struct SetName
{
    const QUuid* set;
    const char* name;
};

const SetName kSetNames[] = {
    {&property_set::kMapi, "PS_MAPI"},
    {&property_set::kPublicStrings, "PS_PUBLIC_STRINGS"},
    {&property_set::kInternetHeaders, "PS_INTERNET_HEADERS"},
    {&property_set::kAppointment, "PSETID_Appointment"},
    {&property_set::kTask, "PSETID_Task"},
    {&property_set::kAddress, "PSETID_Address"},
    {&property_set::kCommon, "PSETID_Common"},
    {&property_set::kMeeting, "PSETID_Meeting"},
};

struct TypeName
{
    quint16 type;
    const char* name; // without "Ptyp" and without "Multiple"
    bool multiple;    // a multi-valued form exists
};

const TypeName kTypeNames[] = {
    {0x0000, "Unspecified", false}, {0x0001, "Null", false},         {0x0002, "Integer16", true},
    {0x0003, "Integer32", true},    {0x0004, "Floating32", true},    {0x0005, "Floating64", true},
    {0x0006, "Currency", true},     {0x0007, "FloatingTime", true},  {0x000A, "ErrorCode", false},
    {0x000B, "Boolean", false},     {0x000D, "Object", false},       {0x0014, "Integer64", true},
    {0x001E, "String8", true},      {0x001F, "String", true},        {0x0040, "Time", true},
    {0x0048, "Guid", true},         {0x00FB, "ServerId", false},     {0x00FD, "Restriction", false},
    {0x00FE, "RuleAction", false},  {0x0102, "Binary", true},
};

QString setName(const QUuid& set)
{
    for (const SetName& known : kSetNames) {
        if (*known.set == set)
            return QLatin1String(known.name);
    }
    return set.toString(QUuid::WithBraces).toUpper();
}

} // namespace

QString taggedPropertyName(quint16 id, quint16 type)
{
    const TaggedName* fallback = nullptr;
    for (const TaggedName& entry : kTaggedNames) {
        if (entry.id != id)
            continue;
        if (entry.type == type)
            return QLatin1String(entry.name);
        if (!fallback)
            fallback = &entry;
    }
    // An id stored under an unexpected type is still the property its id
    // names; of two names by type the first stands in.
    return fallback ? QLatin1String(fallback->name) : QString();
}

QString namedPropertyName(const MessagePropertyName& name)
{
    if (name.stringName.isNull()) {
        for (const NumericName& known : kNumericNames) {
            if (known.lid == name.numericName && *known.set == name.propertySet)
                return QLatin1String(known.name);
        }
        // A numeric name in PS_MAPI is the id of a tagged property.
        if (name.propertySet == property_set::kMapi && name.numericName < 0x8000) {
            const QString tagged = taggedPropertyName(quint16(name.numericName), kAnyType);
            if (!tagged.isEmpty())
                return tagged;
        }
        return setName(name.propertySet) + QStringLiteral(":0x")
            + QString::number(name.numericName, 16).toUpper().rightJustified(4, u'0');
    }
    for (const StringName& known : kStringNames) {
        if (*known.set == name.propertySet && name.stringName == QLatin1String(known.string))
            return QLatin1String(known.name);
    }
    return setName(name.propertySet) + u':' + name.stringName;
}

QString propertyName(const MessageProperty& property)
{
    if (property.name)
        return namedPropertyName(*property.name);
    if (property.id >= 0x8000)
        return {};
    return taggedPropertyName(property.id, property.type);
}

QString propertyTypeName(quint16 type, bool multiValued)
{
    for (const TypeName& known : kTypeNames) {
        if (known.type != type || (multiValued && !known.multiple))
            continue;
        return (multiValued ? QStringLiteral("PtypMultiple") : QStringLiteral("Ptyp")) + QLatin1String(known.name);
    }
    const quint16 stored = multiValued ? quint16(type | kMultiValueFlag) : type;
    return QStringLiteral("0x") + QString::number(stored, 16).toUpper().rightJustified(4, u'0');
}

quint32 propertyTag(const MessageProperty& property)
{
    const quint16 type = property.multiValued ? quint16(property.type | kMultiValueFlag) : property.type;
    return (quint32(property.id) << 16) | type;
}

QString propertyTagText(quint32 tag)
{
    return QStringLiteral("0x") + QString::number(tag, 16).toUpper().rightJustified(8, u'0');
}

QString propertyIdText(quint16 id)
{
    return QStringLiteral("0x") + QString::number(id, 16).toUpper().rightJustified(4, u'0');
}
