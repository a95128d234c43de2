<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
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
    <name>RVAlert</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
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
        <translation>Hospital honours</translation>
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
    <name>RVDoctorListViewController</name>
    <message>
        <source>医生查询</source>
        <translation>Doctors</translation>
    </message>
    <message>
        <source>请输入医生姓名的首字母</source>
        <translation>Initials of the doctor's name</translation>
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
    <name>RVMainViewController</name>
    <message>
        <source>医院查询</source>
        <translation>Hospitals</translation>
    </message>
    <message>
        <source>科室查询</source>
        <translation>Departments</translation>
    </message>
    <message>
        <source>医生查询</source>
        <translation>Doctors</translation>
    </message>
    <message>
        <source>预约历史</source>
        <translation>My bookings</translation>
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
        <translation>Department:</translation>
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
        <translation>Queue number:</translation>
    </message>
    <message>
        <source>提示:右移本信息可取消预约</source>
        <translation>Tip: swipe right to cancel</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
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
    <message>
        <source>还未登陆，现在登陆</source>
        <translation>Not logged in. Log in now?</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
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
</TS>
