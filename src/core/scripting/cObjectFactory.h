#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <functional>

// Hands scripts ("xFactory") fresh instances of the program's classes, one member per class.
// Classes that arrive later register a creator under their member name (registerClass) and,
// for scripts that call the member directly, get a Q_INVOKABLE forwarding to create().
// The caller owns what it receives: the script engine deletes a parentless object returned by a
// member when the script's last reference to it goes.
class cObjectFactory : public QObject {
    Q_OBJECT
public:
    using Creator = std::function<QObject *()>;
    // A class whose constructor takes arguments (the report objects: name, top, left …).
    using Constructor = std::function<QObject *(const QVariantList &args)>;

    explicit cObjectFactory(QObject *parent = nullptr);

    // Member names compare without regard to case; a second registration replaces the first.
    void registerClass(const QString &member, Creator creator);
    bool hasClass(const QString &member) const;
    void registerConstructor(const QString &member, Constructor constructor);
    // A new instance from the arguments given (trailing Empty ones dropped); nullptr when unknown.
    QObject *construct(const QString &member, QVariantList args) const;
    QStringList members() const;

    // A new instance by member name ("newcCollectionContainer"); nullptr for an unknown one.
    Q_INVOKABLE QObject *create(const QString &member) const;

    Q_INVOKABLE QObject *newcCollectionContainer() const;
    Q_INVOKABLE QObject *NewCollection() const { return create(QStringLiteral("NewCollection")); }
    Q_INVOKABLE QObject *newCValue() const { return create(QStringLiteral("newCValue")); }
    // The ADO objects are script objects, not QObjects: they come as a script value in a QVariant.
    Q_INVOKABLE QVariant newADODBConnection() const;
    Q_INVOKABLE QVariant newADODBRecordSet() const;
    // Registered by the program's services, which know what these classes need.
    Q_INVOKABLE QObject *newcString() const { return create(QStringLiteral("newcString")); }
    Q_INVOKABLE QObject *newcDatabase() const { return create(QStringLiteral("newcDatabase")); }
    Q_INVOKABLE QObject *newcSucursal() const { return create(QStringLiteral("newcSucursal")); }

    // The report engine registers these; scripts pass the arguments of each class's constructor.
    Q_INVOKABLE QObject *NewcPrintLine(const QVariant &a1 = QVariant(), const QVariant &a2 = QVariant(),
                                       const QVariant &a3 = QVariant(), const QVariant &a4 = QVariant(),
                                       const QVariant &a5 = QVariant(), const QVariant &a6 = QVariant(),
                                       const QVariant &a7 = QVariant(), const QVariant &a8 = QVariant(),
                                       const QVariant &a9 = QVariant(), const QVariant &a10 = QVariant(),
                                       const QVariant &a11 = QVariant(), const QVariant &a12 = QVariant(),
                                       const QVariant &a13 = QVariant(),
                                       const QVariant &a14 = QVariant()) const
    {
        return construct(QStringLiteral("NewcPrintLine"),
                         {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14});
    }
    Q_INVOKABLE QObject *NewcPrintLineObject() const
    {
        return construct(QStringLiteral("NewcPrintLine"), {});
    }
    Q_INVOKABLE QObject *NewcPrintText(const QVariant &a1 = QVariant(), const QVariant &a2 = QVariant(),
                                       const QVariant &a3 = QVariant(), const QVariant &a4 = QVariant(),
                                       const QVariant &a5 = QVariant(), const QVariant &a6 = QVariant(),
                                       const QVariant &a7 = QVariant(), const QVariant &a8 = QVariant(),
                                       const QVariant &a9 = QVariant(), const QVariant &a10 = QVariant(),
                                       const QVariant &a11 = QVariant(), const QVariant &a12 = QVariant(),
                                       const QVariant &a13 = QVariant(),
                                       const QVariant &a14 = QVariant()) const
    {
        return construct(QStringLiteral("NewcPrintText"),
                         {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14});
    }
    Q_INVOKABLE QObject *NewcPrintTextObject() const
    {
        return construct(QStringLiteral("NewcPrintText"), {});
    }
    Q_INVOKABLE QObject *NewcPrintField(const QVariant &a1 = QVariant(), const QVariant &a2 = QVariant(),
                                        const QVariant &a3 = QVariant(), const QVariant &a4 = QVariant(),
                                        const QVariant &a5 = QVariant(), const QVariant &a6 = QVariant(),
                                        const QVariant &a7 = QVariant(), const QVariant &a8 = QVariant(),
                                        const QVariant &a9 = QVariant(), const QVariant &a10 = QVariant(),
                                        const QVariant &a11 = QVariant(), const QVariant &a12 = QVariant(),
                                        const QVariant &a13 = QVariant(),
                                        const QVariant &a14 = QVariant()) const
    {
        return construct(QStringLiteral("NewcPrintField"),
                         {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14});
    }
    Q_INVOKABLE QObject *NewcPrintFieldObject() const
    {
        return construct(QStringLiteral("NewcPrintField"), {});
    }
    Q_INVOKABLE QObject *NewcPrintFormula(const QVariant &a1 = QVariant(), const QVariant &a2 = QVariant(),
                                          const QVariant &a3 = QVariant(), const QVariant &a4 = QVariant(),
                                          const QVariant &a5 = QVariant(), const QVariant &a6 = QVariant(),
                                          const QVariant &a7 = QVariant(), const QVariant &a8 = QVariant(),
                                          const QVariant &a9 = QVariant(), const QVariant &a10 = QVariant(),
                                          const QVariant &a11 = QVariant(), const QVariant &a12 = QVariant(),
                                          const QVariant &a13 = QVariant(),
                                          const QVariant &a14 = QVariant()) const
    {
        return construct(QStringLiteral("NewcPrintFormula"),
                         {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14});
    }
    Q_INVOKABLE QObject *NewcPrintFormulaObject() const
    {
        return construct(QStringLiteral("NewcPrintFormula"), {});
    }
    Q_INVOKABLE QObject *NewcPrintGroup(const QVariant &a1 = QVariant(), const QVariant &a2 = QVariant(),
                                        const QVariant &a3 = QVariant(), const QVariant &a4 = QVariant(),
                                        const QVariant &a5 = QVariant(), const QVariant &a6 = QVariant(),
                                        const QVariant &a7 = QVariant(), const QVariant &a8 = QVariant(),
                                        const QVariant &a9 = QVariant(), const QVariant &a10 = QVariant(),
                                        const QVariant &a11 = QVariant(), const QVariant &a12 = QVariant(),
                                        const QVariant &a13 = QVariant(),
                                        const QVariant &a14 = QVariant()) const
    {
        return construct(QStringLiteral("NewcPrintGroup"),
                         {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14});
    }
    Q_INVOKABLE QObject *NewcPrintGroupObject() const
    {
        return construct(QStringLiteral("NewcPrintGroup"), {});
    }
    Q_INVOKABLE QObject *NewcPrintSumary(const QVariant &a1 = QVariant(), const QVariant &a2 = QVariant(),
                                         const QVariant &a3 = QVariant(), const QVariant &a4 = QVariant(),
                                         const QVariant &a5 = QVariant(), const QVariant &a6 = QVariant(),
                                         const QVariant &a7 = QVariant(), const QVariant &a8 = QVariant(),
                                         const QVariant &a9 = QVariant(), const QVariant &a10 = QVariant(),
                                         const QVariant &a11 = QVariant(), const QVariant &a12 = QVariant(),
                                         const QVariant &a13 = QVariant(),
                                         const QVariant &a14 = QVariant()) const
    {
        return construct(QStringLiteral("NewcPrintSumary"),
                         {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14});
    }
    Q_INVOKABLE QObject *NewcPrintSumaryObject() const
    {
        return construct(QStringLiteral("NewcPrintSumary"), {});
    }
    Q_INVOKABLE QObject *NewcPrintImage(const QVariant &a1 = QVariant(), const QVariant &a2 = QVariant(),
                                        const QVariant &a3 = QVariant(), const QVariant &a4 = QVariant(),
                                        const QVariant &a5 = QVariant(), const QVariant &a6 = QVariant(),
                                        const QVariant &a7 = QVariant(), const QVariant &a8 = QVariant(),
                                        const QVariant &a9 = QVariant(), const QVariant &a10 = QVariant(),
                                        const QVariant &a11 = QVariant(), const QVariant &a12 = QVariant(),
                                        const QVariant &a13 = QVariant(),
                                        const QVariant &a14 = QVariant()) const
    {
        return construct(QStringLiteral("NewcPrintImage"),
                         {a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14});
    }
    Q_INVOKABLE QObject *NewcPrintImageObject() const
    {
        return construct(QStringLiteral("NewcPrintImage"), {});
    }

private:
    QHash<QString, std::pair<QString, Creator>> m_creators;
    QHash<QString, Constructor> m_constructors; // folded name // folded name -> (name, creator)
};
