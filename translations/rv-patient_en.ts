<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>查看</source>
        <translation>View</translation>
    </message>
</context>
<context>
    <name>PvxRefreshTableHeaderView</name>
    <message>
        <source>松开即可更新...</source>
        <translation>Release to refresh...</translation>
    </message>
    <message>
        <source>上拉即可更新...</source>
        <translation>Pull up to refresh...</translation>
    </message>
    <message>
        <source>加载中...</source>
        <translation>Loading...</translation>
    </message>
    <message>
        <source>上午</source>
        <translation>AM</translation>
    </message>
    <message>
        <source>下午</source>
        <translation>PM</translation>
    </message>
    <message>
        <source>最后更新: %1</source>
        <translation>Last updated: %1</translation>
    </message>
</context>
<context>
    <name>RVAccountChecks</name>
    <message>
        <source>请把信息填完整</source>
        <translation>Please fill in every field</translation>
    </message>
    <message>
        <source>两次输入的密码不同，请重新输入。</source>
        <translation>The passwords differ. Please enter them again.</translation>
    </message>
    <message>
        <source>请输入正确的身份证号码</source>
        <translation>Please enter a valid ID number</translation>
    </message>
    <message>
        <source>请输入正确的手机号码</source>
        <translation>Please enter a valid mobile number</translation>
    </message>
    <message>
        <source>密码必须6位数以上</source>
        <translation>The password needs more than 6 characters</translation>
    </message>
    <message>
        <source>姓名长度过长</source>
        <translation>The name is too long</translation>
    </message>
</context>
<context>
    <name>RVAlert</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>还未登陆，现在登陆</source>
        <translation>Not logged in. Log in now?</translation>
    </message>
</context>
<context>
    <name>RVAlternativesOffer</name>
    <message>
        <source>暂无其他可约时段</source>
        <translation>No other time is open</translation>
    </message>
    <message>
        <source>以下时段可约：</source>
        <translation>Still open:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>RVAppWatches</name>
    <message>
        <source>有号提醒</source>
        <translation>Place alert</translation>
    </message>
    <message>
        <source>查看</source>
        <translation>View</translation>
    </message>
</context>
<context>
    <name>RVBooking</name>
    <message>
        <source>性别：男</source>
        <translation>Sex: male</translation>
    </message>
    <message>
        <source>性别：女</source>
        <translation>Sex: female</translation>
    </message>
    <message>
        <source>姓名：%1</source>
        <translation>Name: %1</translation>
    </message>
    <message>
        <source>手机号码：%1</source>
        <translation>Mobile: %1</translation>
    </message>
    <message>
        <source>身份证号：%1</source>
        <translation>ID number: %1</translation>
    </message>
    <message>
        <source>预约时间：%1</source>
        <translation>Time: %1</translation>
    </message>
    <message>
        <source>预约医院：%1</source>
        <translation>Hospital: %1</translation>
    </message>
    <message>
        <source>预约科室：%1</source>
        <translation>Department: %1</translation>
    </message>
    <message>
        <source>预约医生：%1</source>
        <translation>Doctor: %1</translation>
    </message>
    <message>
        <source>预约成功</source>
        <translation>Booked</translation>
    </message>
</context>
<context>
    <name>RVBookingAlternatives</name>
    <message>
        <source>%1 %2 %3 %4</source>
        <translation>%1 %2 %3 %4</translation>
    </message>
</context>
<context>
    <name>RVBookingCalendar</name>
    <message>
        <source>挂号</source>
        <translation>Appointment</translation>
    </message>
    <message>
        <source>挂号：%1</source>
        <translation>Appointment: %1</translation>
    </message>
    <message>
        <source>已取消：%1</source>
        <translation>Cancelled: %1</translation>
    </message>
    <message>
        <source>分诊序号：%1</source>
        <translation>Queue number: %1</translation>
    </message>
    <message>
        <source>医院电话：%1</source>
        <translation>Hospital phone: %1</translation>
    </message>
    <message>
        <source>取消预约：在“预约挂号”的“预约纪录”中右移本预约</source>
        <translation>To cancel: in Hospital Booking, open Bookings and swipe this booking right</translation>
    </message>
</context>
<context>
    <name>RVBookingFiles</name>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>已保存</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>日历文件 (*.ics)</source>
        <translation>Calendar files (*.ics)</translation>
    </message>
    <message>
        <source>无法保存 %1：%2</source>
        <translation>Cannot save %1: %2</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>添加到日历</source>
        <translation>Add to calendar</translation>
    </message>
</context>
<context>
    <name>RVBookingPass</name>
    <message>
        <source>预约凭证</source>
        <translation>Booking pass</translation>
    </message>
    <message>
        <source>医院</source>
        <translation>Hospital</translation>
    </message>
    <message>
        <source>科室</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>医生</source>
        <translation>Doctor</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>分诊序号</source>
        <translation>Queue number</translation>
    </message>
    <message>
        <source>患者</source>
        <translation>Patient</translation>
    </message>
    <message>
        <source>身份证号</source>
        <translation>ID number</translation>
    </message>
</context>
<context>
    <name>RVBookingPassViewController</name>
    <message>
        <source>保存为PDF</source>
        <translation>Save as PDF</translation>
    </message>
</context>
<context>
    <name>RVDepartmentListController</name>
    <message>
        <source>科室查询</source>
        <translation>Departments</translation>
    </message>
    <message>
        <source>加载中</source>
        <translation>Loading</translation>
    </message>
</context>
<context>
    <name>RVDetailInfoViewController</name>
    <message>
        <source>医院荣耀信息</source>
        <translation>Honours &amp; info</translation>
    </message>
    <message>
        <source>医院荣耀</source>
        <translation>Honours</translation>
    </message>
    <message>
        <source>医院介绍</source>
        <translation>About the hospital</translation>
    </message>
</context>
<context>
    <name>RVDoctorController</name>
    <message>
        <source>%1 %2已约满，
有号时提醒您吗？</source>
        <translation>%1 %2 is fully booked.
Alert you when a place is free?</translation>
    </message>
    <message>
        <source>有号提醒</source>
        <translation>Place alert</translation>
    </message>
    <message>
        <source>提醒我</source>
        <translation>Alert me</translation>
    </message>
    <message>
        <source>%1，已设置有号提醒</source>
        <translation>%1, place alert set</translation>
    </message>
</context>
<context>
    <name>RVDoctorListViewController</name>
    <message>
        <source>医生查询</source>
        <translation>Doctors</translation>
    </message>
    <message>
        <source>请输入医生姓名的首字母</source>
        <translation>Initials of the doctor&apos;s name</translation>
    </message>
    <message>
        <source>加载中</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>搜索中</source>
        <translation>Searching</translation>
    </message>
    <message>
        <source>没有这位医生</source>
        <translation>No such doctor</translation>
    </message>
</context>
<context>
    <name>RVExchangeOutcome</name>
    <message>
        <source>网络出错。</source>
        <translation>Network error.</translation>
    </message>
</context>
<context>
    <name>RVHalfDayName</name>
    <message>
        <source>上午</source>
        <translation>morning</translation>
    </message>
    <message>
        <source>下午</source>
        <translation>afternoon</translation>
    </message>
    <message>
        <source>停诊</source>
        <translation>closed</translation>
    </message>
    <message>
        <source>约满</source>
        <translation>fully booked</translation>
    </message>
    <message>
        <source>预约</source>
        <translation>open</translation>
    </message>
    <message>
        <source>余%1</source>
        <translation>%1 left</translation>
    </message>
</context>
<context>
    <name>RVHospitalInfoViewController</name>
    <message>
        <source>加载中</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>选择科室挂号</source>
        <translation>Book by department</translation>
    </message>
    <message>
        <source>详细信息</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>停诊公告</source>
        <translation>Closure notices</translation>
    </message>
    <message>
        <source>暂无停诊公告</source>
        <translation>No closure notices</translation>
    </message>
</context>
<context>
    <name>RVHospitalListViewController</name>
    <message>
        <source>医院查询</source>
        <translation>Hospitals</translation>
    </message>
    <message>
        <source>加载中</source>
        <translation>Loading</translation>
    </message>
</context>
<context>
    <name>RVLargeTextSetting</name>
    <message>
        <source>%1倍</source>
        <translation>%1×</translation>
    </message>
    <message>
        <source>大字模式</source>
        <translation>Large text</translation>
    </message>
    <message>
        <source>文字和画面一起放大。现在：%1</source>
        <translation>Text and pictures grow together. Now: %1</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>大字模式未能保存</source>
        <translation>The large text setting could not be saved</translation>
    </message>
    <message>
        <source>大字模式改为%1，重新启动后生效。</source>
        <translation>Large text set to %1. It takes effect when the application starts again.</translation>
    </message>
</context>
<context>
    <name>RVLoginViewController</name>
    <message>
        <source>登录</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>注册新用户</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>帐户</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>请填写用户名</source>
        <translation>Please enter your user name</translation>
    </message>
    <message>
        <source>请填写密码</source>
        <translation>Please enter your password</translation>
    </message>
    <message>
        <source>登录中</source>
        <translation>Logging in</translation>
    </message>
    <message>
        <source>登录失败</source>
        <translation>Login failed</translation>
    </message>
    <message>
        <source>登录成功</source>
        <translation>Logged in</translation>
    </message>
</context>
<context>
    <name>RVMainViewController</name>
    <message>
        <source>医院查询</source>
        <translation>Hospital</translation>
    </message>
    <message>
        <source>科室查询</source>
        <translation>Depts</translation>
    </message>
    <message>
        <source>医生查询</source>
        <translation>Doctors</translation>
    </message>
    <message>
        <source>预约历史</source>
        <translation>History</translation>
    </message>
    <message>
        <source>帐户信息</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>请先登录</source>
        <translation>Please log in first</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>有新的版本更新，是否前往更新</source>
        <translation>A new version is available. Update now?</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>登录失败</source>
        <translation>Login failed</translation>
    </message>
    <message>
        <source>欢迎您：</source>
        <translation>Welcome, </translation>
    </message>
    <message>
        <source>，进入个人中心！</source>
        <translation>. Open your account!</translation>
    </message>
    <message>
        <source>正在自动登录，请稍候…</source>
        <translation>Logging in, please wait…</translation>
    </message>
</context>
<context>
    <name>RVModifyPasswdController</name>
    <message>
        <source>输入旧密码:</source>
        <translation>Old password:</translation>
    </message>
    <message>
        <source>请输入旧密码</source>
        <translation>Old password</translation>
    </message>
    <message>
        <source>输入新密码:</source>
        <translation>New password:</translation>
    </message>
    <message>
        <source>请输入新密码</source>
        <translation>New password</translation>
    </message>
    <message>
        <source>确认新密码:</source>
        <translation>Repeat it:</translation>
    </message>
    <message>
        <source>请确认新密码</source>
        <translation>New password again</translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>更 改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>加载中</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>密码修改成功</source>
        <translation>Password changed</translation>
    </message>
</context>
<context>
    <name>RVModifyUserInfoController</name>
    <message>
        <source>真实姓名:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>身份证号:</source>
        <translation>ID number:</translation>
    </message>
    <message>
        <source>手机号码:</source>
        <translation>Mobile:</translation>
    </message>
    <message>
        <source>住       址:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>修改信息</source>
        <translation>Edit profile</translation>
    </message>
    <message>
        <source>提 交</source>
        <translation>Submit</translation>
    </message>
    <message>
        <source>加载中</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>信息修改成功</source>
        <translation>Profile changed</translation>
    </message>
</context>
<context>
    <name>RVNetworkLayer</name>
    <message>
        <source>无法连接服务器。</source>
        <translation>Cannot reach the server.</translation>
    </message>
    <message>
        <source>网络请求超时。</source>
        <translation>The request timed out.</translation>
    </message>
    <message>
        <source>与服务器的连接中断。</source>
        <translation>The connection to the server broke.</translation>
    </message>
    <message>
        <source>网络出错。</source>
        <translation>Network error.</translation>
    </message>
    <message>
        <source>服务器地址无效。</source>
        <translation>The server address is not valid.</translation>
    </message>
    <message>
        <source>网络连接失败。</source>
        <translation>The network connection failed.</translation>
    </message>
    <message>
        <source>无法验证服务器的身份</source>
        <translation>The server&apos;s identity could not be verified</translation>
    </message>
    <message>
        <source>服务器地址未加密（http://），已拒绝发送。请使用 https://。</source>
        <translation>The server address is not encrypted (http://); nothing was sent. Use https://.</translation>
    </message>
</context>
<context>
    <name>RVPassPdfWriter</name>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>无法生成 PDF：%1</source>
        <translation>Cannot make the PDF: %1</translation>
    </message>
</context>
<context>
    <name>RVPersonalCard</name>
    <message>
        <source>姓名：</source>
        <translation>Name: </translation>
    </message>
    <message>
        <source>电话：</source>
        <translation>Phone: </translation>
    </message>
</context>
<context>
    <name>RVPersonalViewController</name>
    <message>
        <source>个人中心</source>
        <translation>My account</translation>
    </message>
    <message>
        <source>退出登录</source>
        <translation>Log out</translation>
    </message>
    <message>
        <source>密码保存在本机的一个文件中</source>
        <translation>The password is kept in a file on this computer</translation>
    </message>
    <message>
        <source>修改信息</source>
        <translation>Edit profile</translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation>Change password</translation>
    </message>
    <message>
        <source>我的挂号记录</source>
        <translation>My bookings</translation>
    </message>
    <message>
        <source>有号提醒</source>
        <translation>Place alerts</translation>
    </message>
</context>
<context>
    <name>RVProtocol</name>
    <message>
        <source>请先登录</source>
        <translation>Please log in first</translation>
    </message>
    <message>
        <source>网络错误</source>
        <translation>Network error</translation>
    </message>
</context>
<context>
    <name>RVRegisterViewController</name>
    <message>
        <source>您的登陆帐户名(手机号)</source>
        <translation>User name (mobile number)</translation>
    </message>
    <message>
        <source>您的密码(长度需大于6位)</source>
        <translation>Password (6+ characters)</translation>
    </message>
    <message>
        <source>确认密码</source>
        <translation>Repeat the password</translation>
    </message>
    <message>
        <source>您的真实姓名</source>
        <translation>Your full name</translation>
    </message>
    <message>
        <source>您的身份证号</source>
        <translation>Your ID number</translation>
    </message>
    <message>
        <source>您的手机号码</source>
        <translation>Your mobile number</translation>
    </message>
    <message>
        <source>您的家庭住址</source>
        <translation>Your home address</translation>
    </message>
    <message>
        <source>注册</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>注册中</source>
        <translation>Registering</translation>
    </message>
</context>
<context>
    <name>RVReminderSchedule</name>
    <message>
        <source>时间：%1 %2</source>
        <translation>Time: %1 %2</translation>
    </message>
    <message>
        <source>时间：%1 %2 %3</source>
        <translation>Time: %1 %3 (%2)</translation>
    </message>
    <message>
        <source>就诊提醒</source>
        <translation>Appointment reminder</translation>
    </message>
    <message>
        <source>医生：%1</source>
        <translation>Doctor: %1</translation>
    </message>
    <message>
        <source>医院：%1</source>
        <translation>Hospital: %1</translation>
    </message>
</context>
<context>
    <name>RVReservationHistoryListViewController</name>
    <message>
        <source>暂无预约记录</source>
        <translation>No bookings yet</translation>
    </message>
    <message>
        <source>加载中</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>预约纪录</source>
        <translation>Bookings</translation>
    </message>
    <message>
        <source>预约医院  :</source>
        <translation>Hospital:</translation>
    </message>
    <message>
        <source>预约科室  :</source>
        <translation>Dept.:</translation>
    </message>
    <message>
        <source>预约医生  :</source>
        <translation>Doctor:</translation>
    </message>
    <message>
        <source>预约时间  :</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>分诊序号  :</source>
        <translation>Queue:</translation>
    </message>
    <message>
        <source>提示:右移本信息可取消预约</source>
        <translation>Tip: swipe right to cancel</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>离线：最后更新 %1</source>
        <translation>Offline: last updated %1</translation>
    </message>
    <message>
        <source>添加到日历</source>
        <translation>To calendar</translation>
    </message>
    <message>
        <source>凭证</source>
        <translation>Pass</translation>
    </message>
</context>
<context>
    <name>RVReservationInfoController</name>
    <message>
        <source>挂号信息</source>
        <translation>Booking details</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>预约中</source>
        <translation>Booking</translation>
    </message>
    <message>
        <source>预约成功</source>
        <translation>Booked</translation>
    </message>
</context>
<context>
    <name>RVReservationTimeElectController</name>
    <message>
        <source>预约时段选择</source>
        <translation>Choose a time</translation>
    </message>
    <message>
        <source>加载中</source>
        <translation>Loading</translation>
    </message>
</context>
<context>
    <name>RVScheduleGrid</name>
    <message>
        <source>上午</source>
        <translation>AM</translation>
    </message>
    <message>
        <source>下午</source>
        <translation>PM</translation>
    </message>
    <message>
        <source>M月d日</source>
        <translation>MMM d</translation>
    </message>
</context>
<context>
    <name>RVScreen</name>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>主页</source>
        <translation>Home</translation>
    </message>
</context>
<context>
    <name>RVWatch</name>
    <message>
        <source>%1 %2 %3 有号了</source>
        <translation>%1 %2 %3: a place is free</translation>
    </message>
    <message>
        <source>已设置有号提醒</source>
        <translation>Place alert set</translation>
    </message>
    <message>
        <source>该时段已设置有号提醒</source>
        <translation>A place alert is already set for this half-day</translation>
    </message>
    <message>
        <source>最多只能设置%1个有号提醒，请先删除一个</source>
        <translation>At most %1 place alerts: remove one first</translation>
    </message>
    <message>
        <source>有号提醒未能保存</source>
        <translation>The place alert could not be saved</translation>
    </message>
</context>
<context>
    <name>RVWatchListViewController</name>
    <message>
        <source>有号提醒</source>
        <translation>Place alerts</translation>
    </message>
    <message>
        <source>暂无有号提醒。在医生的排班上点一个“约满”的时段即可设置。</source>
        <translation>No place alerts. Tap a fully booked half-day on a doctor&apos;s schedule to set one.</translation>
    </message>
    <message>
        <source>删除这个有号提醒？</source>
        <translation>Remove this place alert?</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
</context>
<context>
    <name>TableViewReservDelegate</name>
    <message>
        <source>上午</source>
        <translation>AM</translation>
    </message>
    <message>
        <source>下午</source>
        <translation>PM</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>预约挂号</source>
        <translation>Hospital Booking</translation>
    </message>
</context>
<context>
    <name>ui::Image</name>
    <message>
        <source>预约挂号，就医更方便：在线选医生、选时段、免排队</source>
        <translation>Book online, see a doctor sooner: choose the doctor and the time, no queueing</translation>
    </message>
    <message>
        <source>名医名院，一键预约：权威专家、实时号源、轻松挂号</source>
        <translation>Top doctors and hospitals in one tap: trusted experts, live availability, easy booking</translation>
    </message>
    <message>
        <source>用户头像</source>
        <translation>User picture</translation>
    </message>
    <message>
        <source>点击登录</source>
        <translation>Tap to log in</translation>
    </message>
    <message>
        <source>预约</source>
        <translation>Book</translation>
    </message>
    <message>
        <source>约满</source>
        <translation>Full</translation>
    </message>
    <message>
        <source>停诊</source>
        <translation>Closed</translation>
    </message>
    <message>
        <source>约满，有号提醒</source>
        <translation>Fully booked, place alert</translation>
    </message>
</context>
<context>
    <name>ui::SearchBar</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
</context>
<context>
    <name>ui::TableView</name>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
</context>
</TS>
