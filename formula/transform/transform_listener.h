#pragma once
// What the transformer reports to the control that hosts it: the five
// operation events. The control turns each call into its dispatch event.
//
// A host may answer an operation event from inside the call (it asks the
// solving kernel and hands the result to SetOperationResult there): the
// transformer touches no node it held before the call once it returns.
#include <string>

namespace formula {

class ITransformListener {
public:
    // Every left press in transformer mode, before anything else is done.
    virtual void OnOperationLClick() = 0;
    // A right press on a node, nothing pending: the node's vertex code and
    // the Aplan text of the picked part.
    virtual void OnOperationRClick(int vertex, const std::string& data) = 0;
    // A double click on a highlighted node, nothing pending.
    virtual void OnOperationDblClick(int vertex, const std::string& data) = 0;
    // A drop that asks the host: the vertex code and the Aplan texts of the
    // dragged and the target part.
    virtual void OnOperationDragDrop(int vertex, const std::string& sourceData, const std::string& destinationData) = 0;
    // The transformer changed the formula by itself (a local drop).
    virtual void OnFormulaTransformed() = 0;

protected:
    ~ITransformListener() = default;
};

}  // namespace formula
