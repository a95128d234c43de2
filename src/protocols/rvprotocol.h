// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#pragma once

#include "protocols/rvasyncobserver.h"
#include "protocols/rvdepartmentinfo.h"
#include "protocols/rvdoctorinfo.h"
#include "protocols/rvdoctorschedulereply.h"
#include "protocols/rvdoctortimeschedule.h"
#include "protocols/rvexchangeoutcome.h"
#include "protocols/rvhospitalinfo.h"
#include "protocols/rvloginstate.h"
#include "protocols/rvreservationinfo.h"
#include "protocols/rvuserinfo.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QUrl>
#include <QVariant>

#include <memory>
#include <optional>

#include "protocols/rvhttpexchange.h"

class RVNetworkLayer;
class RVUserRegister;

// The service client. One object per exchange: it builds the envelope of a transaction,
// enciphers it by the code's first letter, posts it, reads the reply into records and keeps the
// outcome of its last transaction (outcome(), and from it lastRepuestStats and lastErrorMsg).
// Synchronous operations block the calling thread (screens call them on workers); asynchronous
// ones run on the calling thread's event loop and announce their end through two notifications
// private to the client. Create clients with create(): an asynchronous exchange then keeps its
// client alive until it ends, even when the caller drops it. Text arguments that are null are
// absent.
class RVProtocol final : public QObject, public std::enable_shared_from_this<RVProtocol>
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RVProtocol)

public:
    RVProtocol();
    ~RVProtocol() override;
    static std::shared_ptr<RVProtocol> create();

    // Where every client sends its transactions: "/hrzp2/ComService" below the build-time
    // base URL (RV_SERVICE_URL) unless the application or a test names another base (see
    // RVServiceAddress::parse); a host and port alone mean plain HTTP.
    static void setServiceEndpoint(const QUrl &base);
    static void setServiceEndpoint(const QString &host, quint16 port);
    static QUrl serviceEndpoint();
    static QString serviceHost();

    QString urlapi() const { return m_urlapi; }
    QString typeCode() const { return m_typeCode; }
    QByteArray receiveData() const { return m_receiveData; }
    bool HTTPResponseOK() const { return m_isHTTPResponseOK; }
    QString currentPassword() const { return m_currentPassword; }
    QString rand() const { return m_rand; }
    QVariant tag() const { return m_tag; }
    void setTag(const QVariant &tag) { m_tag = tag; }
    bool lastRepuestStats() const { return m_outcome.succeeded(); }
    QString lastErrorMsg() const { return m_outcome.message(); }
    // What became of the last transaction whose end was handled.
    const RVExchangeOutcome &outcome() const { return m_outcome; }
    bool isRunning() const;
    // The network layer this client's exchanges go through; null (the default) is the
    // application's. Tests hand a client a layer of their own.
    void setNetworkLayer(RVNetworkLayer *layer);
    RVNetworkLayer *networkLayer() const { return m_networkLayer; }
    // What the user is told of the last asynchronous exchange that failed in the network (the
    // failure notification carries no reply); null when none failed.
    QString lastTransportFailure() const { return m_lastTransportFailure; }

    static RVProtocol *fromNotification(const platform::Notification &notification);
    QString successNotificationName() const;
    QString failureNotificationName() const;
    void addObserver(const std::shared_ptr<RVAsyncObserver> &observer);
    void postHTTPSuccessNoifiction();
    void postHTTPFailureNotification();
    QString getAsyncResult() const;
    void cancel();

    // Envelope and reply handling.
    static QJsonObject headBuild(const QString &code);
    void replyDataHandle(const QString &code, const QString &reply);
    QString post(const QString &yhm, const QString &code, const QString &body, bool async);
    QString TripleDES(const QString &text, int encryptOrDecrypt) const;

    // Accounts.
    std::optional<RVUserInfo> userRegister(const QJsonObject &userDict);
    void userRegister_async(const QJsonObject &userDict);
    std::optional<RVUserInfo> login(const QString &name, const QString &password);
    void login_async(const QString &name, const QString &password);
    // The login a refused login key calls for (RVLoginRenewal): only an acceptance is applied;
    // any failure leaves the saved login and the login state to the caller's decision.
    std::optional<RVUserInfo> renewLogin(const QString &name, const QString &password);
    // What the last registration or login means for the saved login.
    RVLoginState::Outcome loginOutcome() const;
    void logout();
    std::optional<RVUserInfo> userInfoModificationWithNewUserInfo(const RVUserInfo &info);
    bool userPasswordModificationWithUserid(const QString &userid, const QString &oldPassword,
                                            const QString &newPassword);

    // Hospitals and departments.
    std::optional<QList<RVHospitalInfo>> hospitalList(const QString &name);
    void hospitalList_async(const QString &name);
    std::optional<RVHospitalInfo> hospitalInfo(const QString &hospid);
    void hospitalInfo_async(const QString &hospid);
    std::optional<QList<RVDepartmentInfo>> ClassificationDeptmentList(const QString &hospid,
                                                                      const QString &deptid);
    std::optional<QList<RVDepartmentInfo>> ReservationDepartmentList(const QString &hospid,
                                                                     const QString &deptid);
    std::optional<QList<RVDepartmentInfo>>
    DeptmentListCommon(const QString &code, const QString &hospid, const QString &deptid);
    // The disease list is defined by the service but never read: the result is always none.
    std::optional<QJsonValue> diseaseList();
    void diseaseList_async();

    // Doctors and schedules.
    std::optional<QList<RVDoctorInfo>> doctorList(const QString &hospid, const QString &deptid,
                                                  const QString &stdCode, const QString &doctorName,
                                                  int page, int num);
    void doctorList_async(const QString &hospid, const QString &deptid, const QString &stdCode,
                          const QString &doctorName, int page, int num);
    std::optional<RVDoctorInfo> doctorInfo(const QString &hospid, const QString &doctorId);
    void doctorInfo_async(const QString &hospid, const QString &doctorId);
    std::optional<RVDoctorScheduleReply::Schedules>
    doctorScheduleForHospital(const QString &pbid, const QString &hospid, const QString &doctorId);
    void doctorScheduleForHospital_async(const QString &pbid, const QString &hospid,
                                         const QString &doctorId);
    std::optional<QList<RVDoctorTimeSchedule>> doctorDayScheduleForScheduleId(const QString &pbid);
    void doctorDayScheduleForScheduleId_async(const QString &pbid);

    // Bookings.
    bool reseration(const RVReservationInfo &booking);
    std::optional<QList<RVReservationInfo>> reserationHistoryListWithTime(const QVariant &time,
                                                                          const QString &usercode,
                                                                          const QString &phone);
    void reserationHistoryListWithTime_async(const QVariant &time, const QString &usercode,
                                             const QString &phone);
    bool removeReserationWithUserId(const QString &userid, const QString &reserationId);

    // The fixed code the booking confirmation sends as yzhm.
    static QString reservationCode();

private:
    // Posts a transaction with the current login values; a user's transaction that the
    // service refuses for its login key is sent once more after a new login (RVLoginRenewal).
    const RVExchangeOutcome &send(const QString &code, const QString &accountName,
                                  const QString &requestText, bool async);
    bool keyRefused(const QString &code) const;
    const RVExchangeOutcome &postWithKey(const QString &yhm, const QString &code,
                                         const QString &body, bool async, const QString &key);
    static QString registeredPassword(const RVUserRegister &request);
    QString readSyncReply(const QByteArray &bytes, const QString &code, const QString &key);
    const RVExchangeOutcome &failWithoutSending(const QString &code, const QString &message,
                                                bool async);
    // The reply handling of an exchange that ended: the outcome becomes the client's, and a
    // registration or login reply goes on to the login handling.
    void handle(const QString &code, RVExchangeOutcome outcome);
    void loginReplyHandle();
    void startAsync(const QByteArray &form, const QString &key, RVHttpExchange::Resend resend);
    void onAsyncResponse(int statusCode, const QString &headers);
    void onAsyncFinished();
    void onAsyncFailed(const QString &description, const QString &detail);
    // Runs one transaction: stores the code, logs the request text and posts it.
    const RVExchangeOutcome &transact(const QString &code, const QString &requestText,
                                      const QString &accountName, bool async);
    template <class Request> static Request requestFor(const QString &code)
    {
        return RVBaseInfo::fromDictionary<Request>(std::nullopt, headBuild(code));
    }
    static QString cipherText(const QString &text, int encryptOrDecrypt, const QString &key);

    QString m_urlapi;
    QString m_typeCode;
    QByteArray m_receiveData;
    bool m_isHTTPResponseOK = false;
    QString m_currentPassword;
    quint64 m_loginTicket = 0; // taken when a registration or login starts
    bool m_renewing = false;   // the login runs for RVLoginRenewal
    QList<std::shared_ptr<RVAsyncObserver>> m_observers;
    QString m_rand;
    QVariant m_tag;
    RVExchangeOutcome m_outcome;
    QString m_exchangeKey; // the key the running exchange was enciphered with
    RVHttpExchange *m_connection = nullptr;
    RVNetworkLayer *m_networkLayer = nullptr;
    QString m_lastTransportFailure;
    std::shared_ptr<RVProtocol> m_keepAlive;
};
